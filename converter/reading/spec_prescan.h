// A quick look through a build description for the build spec it reads by
// default, before the file is read in earnest: then each statement can be
// taken as it is read, instead of waiting in memory for the build spec to be
// known.
#pragma once

#include <istream>
#include <string>
#include <string_view>

// What the quick look finds in the lines of a file, handed in file order:
// the last default spec (as in the full reading), and the first entry of
// the specs list, even an empty one, as the full reading takes it.
class SpecKeyMatcher {
 public:
  // One or more whole lines, each with its line feed but the file's last.
  void lines(std::string_view text);
  // Whether `text`, a part of a line, holds a text that lines() looks at.
  bool holdsKey(std::string_view text) const;
  // The longest text holdsKey() looks for.
  static std::size_t longestKey();

  std::string defaultSpec;
  std::string firstSpec;

 private:
  void firstEntry(std::string_view text, std::size_t from);

  bool wantFirst = false;  // a specs list has opened
  bool haveFirst = false;
};

// A quick look through the whole file, before it is read, for the default
// spec and the first spec of its list; `in` is then back at its start.
// False (nothing found) when the stream cannot be set back.
bool prescanSpecs(std::istream& in, std::string& defaultSpec, std::string& firstSpec);
