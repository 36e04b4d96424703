// The converter's two error types. They are thrown by value and caught only by
// ConversionJob::run, which prints one line for each kind.
#pragma once

#include <cstdint>
#include <string>

struct XMLReaderError {
  enum : std::int32_t { UnexpectedEnd = 1, CannotOpen = 2 };
  std::int32_t kind;
};

struct IOERROR {
  enum : std::int32_t { CannotCreateDirectory = 1, CannotWriteFile = 2 };
  std::int32_t kind;
  std::string path;
};
