#include "reading/spec_prescan.h"

#include <algorithm>
#include <functional>
#include <string_view>
#include <vector>

#include "reading/workbench_facts.h"

namespace {

constexpr auto npos = std::string_view::npos;

}  // namespace

// The file is searched a block at a time for the two keys, with a skip
// table, and only the lines that hold one are looked at (and, after a specs
// list opens, the line of its first entry). As in the full reading, the last
// default spec in the file counts.
bool prescanSpecs(std::istream& in, std::string& defaultSpec, std::string& firstSpec) {
  const std::streampos start = in.tellg();
  if (start == std::streampos(-1)) return false;
  constexpr std::string_view kInfo = "BLD::Info|";  // begins both keys
  constexpr std::string_view kDefault = "defaultSpec\"";
  constexpr std::string_view kSpecs = "specs\"";
  constexpr std::string_view kEntry = "stringAttribute value=\"";
  bool wantFirst = false;
  bool haveFirst = false;  // the list's first entry, even an empty one, as the full reading takes it
  std::string window;  // the unfinished line of the blocks read so far
  std::vector<char> block(1 << 18);
  // Looks at whole lines, in file order.
  auto search = [&](std::string_view text) {
    auto lineAt = [&](std::size_t at) {
      const std::size_t begin = text.rfind('\n', at);
      const std::size_t from = begin == npos ? 0 : begin + 1;
      return text.substr(from, text.find('\n', at) - from);
    };
    // The specs list's first entry: on a line after the list's own.
    auto findEntry = [&](std::size_t from) {
      if (haveFirst) return;
      const std::size_t entry = text.find(kEntry, from);
      if (entry == npos) return;
      attributeValue(lineAt(entry), "value", firstSpec);
      haveFirst = true;
    };
    if (wantFirst) findEntry(0);
    // A line is looked at once, however often it holds the default spec key:
    // every occurrence reads the same value, and a line of nothing but keys
    // would otherwise be searched once per key.
    std::size_t lookedAtTo = 0;
    for (std::size_t at = text.find(kInfo); at != npos; at = text.find(kInfo, at + 1)) {
      const std::string_view rest = text.substr(at + kInfo.size());
      if (rest.starts_with(kDefault)) {
        if (at < lookedAtTo) continue;
        attributeValue(lineAt(at), "value", defaultSpec);
        const std::size_t lineEnd = text.find('\n', at);
        lookedAtTo = lineEnd == npos ? text.size() : lineEnd;
      } else if (!wantFirst && rest.starts_with(kSpecs)) {
        wantFirst = true;
        const std::size_t lineEnd = text.find('\n', at);
        if (lineEnd != npos) findEntry(lineEnd);
      }
    }
  };
  // The whole lines of a block are searched where they lie; only a line
  // that runs on into the next block is copied. A line that grows past
  // kHeld without either key is not held any longer (its end is watched
  // for the keys); should one come after all, the line is read again.
  constexpr std::size_t kHeld = 1 << 22;
  constexpr std::size_t kOverlap = kEntry.size() - 1;  // a key split between two blocks
  const auto holdsKey = [&](std::string_view text) {
    return text.find(kInfo) != npos || (wantFirst && text.find(kEntry) != npos);
  };
  std::streamoff consumed = 0;   // bytes read from `start` on
  std::streamoff lineStart = 0;  // where the unfinished line begins
  bool dropped = false;          // `window` holds only the unfinished line's end
  bool ended = false;
  while (!ended &&
         (in.read(block.data(), static_cast<std::streamsize>(block.size())) || in.gcount() > 0)) {
    consumed += in.gcount();
    std::string_view got(block.data(), static_cast<std::size_t>(in.gcount()));
    if (!window.empty() || dropped) {
      const std::size_t firstBreak = got.find('\n');
      const std::string_view part = got.substr(0, firstBreak == npos ? npos : firstBreak + 1);
      if (dropped) {
        const std::string probe = window + std::string(part);
        if (holdsKey(probe)) {
          // Read the whole line again, and go on after it.
          std::string line;
          in.clear();
          in.seekg(start + lineStart);
          const bool broken = static_cast<bool>(std::getline(in, line)) && !in.eof();
          if (broken) line += '\n';
          search(line);
          dropped = false;
          window.clear();
          consumed = lineStart + static_cast<std::streamoff>(line.size());
          ended = !broken;
          continue;
        }
        if (firstBreak == npos) {
          window.assign(probe.substr(probe.size() > kOverlap ? probe.size() - kOverlap : 0));
          continue;
        }
        dropped = false;
        window.clear();
      } else {
        window.append(part);
        if (firstBreak == npos) {
          if (window.size() > kHeld && window.size() - got.size() <= kHeld && !holdsKey(window)) {
            dropped = true;
            window.erase(0, window.size() - kOverlap);
          }
          continue;
        }
        search(window);
        window.clear();
      }
      got.remove_prefix(firstBreak + 1);
    }
    const std::size_t lastBreak = got.rfind('\n');
    if (lastBreak != npos) search(got.substr(0, lastBreak + 1));
    const std::size_t rest = lastBreak == npos ? 0 : lastBreak + 1;
    window.assign(got.substr(rest));
    lineStart = consumed - static_cast<std::streamoff>(got.size() - rest);
  }
  if (!ended && !dropped) search(window);
  in.clear();
  in.seekg(start);
  return static_cast<bool>(in);
}
