// Lines of the files the converter writes end with a carriage return and a
// line feed on every platform, so the same conversion gives the same bytes.
#pragma once

#include <ostream>
#include <string_view>

inline void writeLine(std::ostream& out, std::string_view text) {
  out.write(text.data(), static_cast<std::streamsize>(text.size()));
  out.write("\r\n", 2);
}
