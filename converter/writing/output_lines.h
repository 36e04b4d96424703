// The lines of the files the converter writes. They end with a carriage
// return and a line feed on every platform, so the same conversion gives the
// same bytes.
#pragma once

#include <fstream>
#include <ostream>
#include <string>
#include <string_view>

inline void writeLine(std::ostream& out, std::string_view text) {
  out.write(text.data(), static_cast<std::streamsize>(text.size()));
  out.write("\r\n", 2);
}

// Closes an output file; a write that failed on the way, or on closing,
// fails the run (IOERROR) rather than putting a truncated file in place.
void closeChecked(std::ofstream& out, const std::string& target);
