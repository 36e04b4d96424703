#include "reading/line_runs.h"

#include <string>
#include <vector>

namespace {

constexpr auto npos = std::string_view::npos;

}  // namespace

void readLineRuns(std::istream& in, std::streampos start, const LineRuns& runs) {
  std::string window;  // the unfinished line of the blocks read so far
  std::vector<char> block(runs.block);
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
        if (runs.holds(probe)) {
          // Read the whole line again, and go on after it.
          std::string line;
          in.clear();
          in.seekg(start + lineStart);
          const bool broken = static_cast<bool>(std::getline(in, line)) && !in.eof();
          if (broken) line += '\n';
          runs.lines(line);
          dropped = false;
          window.clear();
          consumed = lineStart + static_cast<std::streamoff>(line.size());
          ended = !broken;
          continue;
        }
        if (firstBreak == npos) {
          const std::size_t keep = runs.overlap;
          window.assign(probe.substr(probe.size() > keep ? probe.size() - keep : 0));
          continue;
        }
        dropped = false;
        window.clear();
      } else {
        window.append(part);
        if (firstBreak == npos) {
          if (window.size() > runs.held && window.size() - got.size() <= runs.held &&
              !runs.holds(window)) {
            dropped = true;
            window.erase(0, window.size() - runs.overlap);
          }
          continue;
        }
        runs.lines(window);
        window.clear();
      }
      got.remove_prefix(firstBreak + 1);
    }
    const std::size_t lastBreak = got.rfind('\n');
    if (lastBreak != npos) runs.lines(got.substr(0, lastBreak + 1));
    const std::size_t rest = lastBreak == npos ? 0 : lastBreak + 1;
    window.assign(got.substr(rest));
    lineStart = consumed - static_cast<std::streamoff>(got.size() - rest);
  }
  if (!ended && !dropped) runs.lines(window);
}
