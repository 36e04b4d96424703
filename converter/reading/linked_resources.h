// The linked resources of an Eclipse project description: files and folders
// that the project shows under a name of its own but that lie elsewhere
// (<linkedResources>), and the path variables their locations may begin with
// (<variableList>). Read for the real-project mode only; where the links lie
// is building/link_locations' to tell.
#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "reading/markup_reader.h"

struct LinkedResource {
  std::string name;      // where the project shows it, such as "src/main.cpp"
  bool folder = false;   // type 2, a folder (or a virtual one); else a file
  std::string location;  // <location>, a path, or <locationURI>
  bool isUri = false;
};

using NamedValues = std::vector<std::pair<std::string, std::string>>;

struct ProjectLinks {
  std::vector<LinkedResource> links;  // in file order
  NamedValues variables;              // <variableList>: a name and its URI
};

// The links and path variables of the project description `text`, entities
// decoded. Never throws: a description of another shape gives what was read
// before it.
ProjectLinks parseLinkedResources(std::string_view text);

enum class LinkPlace : int;

// The same, taken token by token as a reader hands them on, so that the
// links can come with another reading of the text. Tokens after the
// description's end are passed over.
class LinkedResourcesReader {
 public:
  void take(MarkupReader::TokenKind kind, std::string_view token);
  // The description has ended: no later token counts.
  bool done() const { return finished; }
  ProjectLinks result;

 private:
  void open(std::string_view name);
  void close();
  std::string value() const;

  std::vector<LinkPlace> places;  // the elements open, outermost first
  std::string text;               // of the element open last
  LinkedResource link;
  std::pair<std::string, std::string> variable;
  bool finished = false;
};
