#include "reading/project_description.h"

#include "model/failure.h"
#include "reading/markup_reader.h"

namespace {

// The document's elements in their fixed order, each step a test of the
// reader; a step that fails leaves its token pending for the next.
class ProjectDescriptionReader {
 public:
  explicit ProjectDescriptionReader(std::string_view text) : reader(text) {}

  ProjectDescription read() {
    if (!readProjectDescription() && reader.isGood()) {
      throw XMLReaderError(FailureKind::UnexpectedToken, reader.currentToken());
    }
    return std::move(result);
  }

 private:
  bool readProjectDescription() {
    if (!reader.expectStartTag("projectDescription")) return false;
    std::string name;
    // An empty name is none: the name given with -pn then stays.
    if (reader.expectStartTag("name") && reader.readText(name) && reader.expectEndTag("name")) {
      result.name = name;
    }
    readComment();
    if (!readProjects()) return false;
    readBuildSpec();
    readNatures();
    // Eclipse and Workbench write further elements after the natures
    // (linkedResources, filteredResources, variableList, ...); none matters here.
    return passOverUntilEnd("projectDescription");
  }

  bool readComment() {
    // Some tools write an empty comment as an empty-element tag.
    if (!reader.expectStartTag("comment")) return reader.expectStartTag("comment/");
    std::string text;
    if (reader.readText(text)) return reader.expectEndTag("comment");
    return false;
  }

  bool readProjects() {
    if (!reader.expectStartTag("projects")) return false;
    std::string text;
    while (reader.expectStartTag("project") && reader.readText(text) &&
           reader.expectEndTag("project")) {
      result.referencedProjects.push_back(text);
      text.clear();
    }
    return reader.expectEndTag("projects");
  }

  bool readBuildSpec() {
    if (!reader.expectStartTag("buildSpec")) return false;
    while (readBuildCommand()) {
    }
    return reader.expectEndTag("buildSpec");
  }

  bool readBuildCommand() {
    if (!reader.expectStartTag("buildCommand")) return false;
    std::string text;
    if (reader.expectStartTag("name") && reader.readText(text)) reader.expectEndTag("name");
    readArguments();
    // Workbench's builder adds <triggers> and may order the children freely.
    return passOverUntilEnd("buildCommand");
  }

  bool readArguments() {
    if (!reader.expectStartTag("arguments")) return false;
    std::string text;
    if (reader.readText(text) && reader.expectEndTag("arguments")) return true;
    // Eclipse writes arguments as a <dictionary> of key/value pairs.
    return passOverUntilEnd("arguments");
  }

  bool readNatures() {
    if (!reader.expectStartTag("natures")) return false;
    while (readNature()) {
    }
    return reader.expectEndTag("natures");
  }

  bool readNature() {
    std::string text;
    return reader.expectStartTag("nature") && reader.readText(text) &&
           reader.expectEndTag("nature");
  }

  // Passes over whole elements until the end tag `name`; false when something
  // other than an element stands in the way.
  bool passOverUntilEnd(std::string_view name) {
    while (!reader.expectEndTag(name)) {
      if (!reader.skipElement()) return false;
    }
    return true;
  }

  MarkupReader reader;
  ProjectDescription result;

 public:
  MarkupReader& markup() { return reader; }
};

}  // namespace

ProjectDescription parseProjectDescription(std::string_view text) {
  return ProjectDescriptionReader(text).read();
}

ProjectDescription parseProjectDescription(std::string_view text, ProjectLinks& links) {
  LinkedResourcesReader linkReader;
  ProjectDescriptionReader description(text);
  MarkupReader& reader = description.markup();
  reader.watchTokens([&](MarkupReader::TokenKind kind, std::string_view token) {
    linkReader.take(kind, token);
  });
  ProjectDescription read = description.read();
  // The description ends at its end tag by name; the links' reading counts
  // the elements open, so with one left unclosed it goes on from there.
  try {
    while (!linkReader.done()) {
      reader.peek();
      reader.drop();
    }
  } catch (const Failure&) {
    // The end of the text: what was read stands.
  }
  links = std::move(linkReader.result);
  return read;
}
