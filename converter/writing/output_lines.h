// Lines of the files the converter writes end with a carriage return and a
// line feed on every platform, so the same conversion gives the same bytes.
#pragma once

#include <fstream>
#include <ostream>
#include <string>
#include <string_view>

#include "driver/errors.h"

inline void writeLine(std::ostream& out, std::string_view text) {
  out.write(text.data(), static_cast<std::streamsize>(text.size()));
  out.write("\r\n", 2);
}

// Closes an output file; a write that failed on the way, or on closing,
// fails the run rather than putting a truncated file in place.
inline void closeChecked(std::ofstream& out, const std::string& target) {
  out.close();
  if (out.fail()) throw IOERROR{IOERROR::CannotWriteFile, target};
}
