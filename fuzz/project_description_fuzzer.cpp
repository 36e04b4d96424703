// The markup reader and the project description reader on arbitrary bytes,
// driven the way a conversion run drives them.
#include <cstddef>
#include <cstdint>
#include <string>

#include "driver/conversion_job.h"
#include "driver/errors.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static ScratchFolder scratch("project");
  const std::string file = (scratch.path() / "in.project").string();
  writeInput(file, data, size);

  ConversionJob job(file, "", "", "");
  try {
    job.reader.open(file);
    const bool read = job.readProjectDescription();
    // What the run looks at after a failed read.
    if (!read && job.reader.isGood()) {
      const std::string token = job.reader.currentToken();
      if (token.size() > size) fuzzFailure("a token longer than the whole input");
    }
    if (job.projectName.size() > size) fuzzFailure("a project name longer than the input");
    std::size_t names = 0;
    for (const auto& name : job.referencedProjects) names += name.size();
    if (names > size) fuzzFailure("referenced names longer than the input");
  } catch (const XMLReaderError& error) {
    if (error.kind != XMLReaderError::UnexpectedEnd) {
      fuzzFailure("an existing file reported as not opened");
    }
  }
  return 0;
}
