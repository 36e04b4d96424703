// The markup reader, the project description reader and the reader of its
// linked resources on arbitrary bytes, fed from memory.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "building/link_locations.h"
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
  // The links never throw; each one is resolved against a made-up project.
  const ProjectLinks links = parseLinkedResources(text);
  const LinkContext context{"/ws/App", "/ws", {{"MY", "/my"}}, links.variables};
  for (const auto& link : links.links) {
    if (link.name.size() > size || link.location.size() > size) fuzzFailure("a link longer than the input");
    const LinkLocation where = resolveLinkLocation(link, context);
    if (where.kind != LinkLocation::Path && !where.path.empty()) fuzzFailure("a path for no location");
  }
  return 0;
}
