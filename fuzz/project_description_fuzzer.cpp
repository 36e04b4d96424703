// The markup reader and the project description reader on arbitrary bytes,
// fed from memory.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "fuzz_support.h"
#include "model/failure.h"
#include "reading/project_description.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  try {
    const ProjectDescription description = parseProjectDescription(text);
    if (description.name.size() > size) fuzzFailure("a project name longer than the input");
    std::size_t names = 0;
    for (const auto& name : description.referencedProjects) names += name.size();
    if (names > size) fuzzFailure("referenced names longer than the input");
  } catch (const XMLReaderError& error) {
    if (error.kind == FailureKind::UnexpectedToken) {
      if (error.subject.size() > size) fuzzFailure("a token longer than the whole input");
    } else if (error.kind != FailureKind::UnexpectedEnd) {
      fuzzFailure("a failure no markup can cause");
    }
  }
  return 0;
}
