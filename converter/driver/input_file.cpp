#include "driver/input_file.h"

#include <string_view>

#include "platform/platform.h"

bool openInputFile(std::ifstream& in, const std::string& path) {
  if (platform::pathKind(path) == platform::PathKind::Folder) {
    in.setstate(std::ios::failbit);
    return false;
  }
  in.open(path, std::ios::in | std::ios::binary);
  return in.is_open();
}

void skipByteOrderMark(std::istream& in) {
  constexpr std::string_view mark = "\xEF\xBB\xBF";
  if (in.peek() != static_cast<unsigned char>(mark[0])) return;
  char start[3] = {};
  in.read(start, 3);
  if (in.gcount() == 3 && std::string_view(start, 3) == mark) return;
  in.clear();
  in.seekg(0);
}
