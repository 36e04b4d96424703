#include "writing/output_lines.h"

#include <string>

#include "model/failure.h"


void closeChecked(std::ofstream& out, const std::string& target) {
  out.close();
  if (out.fail()) throw IOERROR(FailureKind::CannotWriteFile, target);
}
