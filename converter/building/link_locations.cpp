#include "building/link_locations.h"

#include <algorithm>
#include <charconv>
#include <optional>
#include <string_view>

#include "text/ascii.h"
#include "text/path.h"

namespace {

std::string percentDecoded(std::string_view uri) {
  // Nearly every location escapes nothing.
  if (uri.find('%') == std::string_view::npos) return std::string(uri);
  std::string out;
  out.reserve(uri.size());
  for (std::size_t i = 0; i < uri.size(); ++i) {
    unsigned value = 0;
    if (uri[i] == '%' && i + 2 < uri.size()) {
      const auto [end, error] = std::from_chars(uri.data() + i + 1, uri.data() + i + 3, value, 16);
      if (error == std::errc() && end == uri.data() + i + 3) {
        out += static_cast<char>(value);
        i += 2;
        continue;
      }
    }
    out += uri[i];
  }
  return out;
}

bool isLocalHost(std::string_view host) { return ascii::equalIgnoringCase(host, "localhost"); }

// Variables may refer to variables; a chain this long is a loop.
constexpr int kMaxDepth = 16;
// No path is this long; a location that grows past it is no location.
constexpr std::size_t kMaxLocation = 1 << 16;

}  // namespace

LinkResolver::LinkResolver(const RealProjectContext& context, const VariableValues& own)
    : context(context),
      workspaceFolder(path::comparable(context.workspaceDir, context.currentDirectory)),
      own(own) {
  for (const auto& [name, value] : context.options.variables) given.emplace(name, value);
  for (const auto& [name, value] : context.links.variables) projectVariables.emplace(name, value);
}

// The variable's entry in the report, made the first time it is met;
// nothing when it was met before.
VariableExpander::Reference* LinkResolver::meet(std::string_view name) {
  if (metAt.contains(name)) return nullptr;
  // Braces, not emplace_back's parentheses: clang makes no aggregate from them.
  met.push_back({std::string(name), std::nullopt, VariableExpander::Source::None});
  VariableExpander::Reference& added = met.back();
  metAt.emplace(added.name, met.size() - 1);
  return &added;
}

std::optional<std::string> LinkResolver::variable(std::string_view name, int depth) {
  if (depth > kMaxDepth) return std::nullopt;
  if (const auto found = given.find(name); found != given.end()) {
    if (auto* reference = meet(name)) {
      reference->value = std::string(found->second);
      reference->source = VariableExpander::Source::Given;
    }
    return std::string(found->second);
  }
  if (name == "PROJECT_LOC") return context.projectFolder;
  if (name == "WORKSPACE_LOC") return std::string(workspaceFolder);
  if (name.starts_with("PARENT-")) {
    // PARENT-N-NAME: N folders above NAME.
    const std::string_view rest = name.substr(7);
    unsigned levels = 0;
    const auto [end, error] = std::from_chars(rest.data(), rest.data() + rest.size(), levels);
    if (error != std::errc() || end == rest.data() || end == rest.data() + rest.size() ||
        *end != '-' || levels > 1000) {
      return std::nullopt;
    }
    auto base = variable(rest.substr(static_cast<std::size_t>(end - rest.data()) + 1), depth + 1);
    if (!base) return std::nullopt;
    for (unsigned i = 0; i < levels; ++i) *base += "/..";
    return base;
  }
  // Met before its value is known, so that the report keeps the order the
  // names were met in; a loop back to it finds it met and adds nothing.
  const std::size_t at = met.size();
  const bool first = meet(name) != nullptr;
  std::optional<std::string> value;
  auto source = VariableExpander::Source::None;
  if (const auto found = projectVariables.find(name); found != projectVariables.end()) {
    value = uri(found->second, depth + 1);
    source = VariableExpander::Source::PathVariable;
  } else if (const auto mine = std::find_if(own.begin(), own.end(),
                                            [&](const auto& one) { return one.first == name; });
             mine != own.end()) {
    value = mine->second;
    source = VariableExpander::Source::Workbench;
  }
  if (first) {
    met[at].source = source;
    if (value && source == VariableExpander::Source::PathVariable) {
      met[at].value = path::comparable(*value, context.projectFolder);
    } else {
      met[at].value = value;
    }
  }
  return value;
}

// A URI's path; nothing when a variable it names is unknown.
std::optional<std::string> LinkResolver::uri(std::string_view text, int depth) {
  std::string decoded = percentDecoded(text);
  // "${NAME}", as the description's own variables write their values.
  for (std::size_t open = decoded.find("${"); open != std::string::npos;
       open = decoded.find("${", open)) {
    const std::size_t close = decoded.find('}', open);
    if (close == std::string::npos) return std::nullopt;
    const auto value =
        variable(std::string_view(decoded).substr(open + 2, close - open - 2), depth + 1);
    if (!value) return std::nullopt;
    decoded.replace(open, close + 1 - open, *value);
    // Variables that double each other would grow without measure.
    if (decoded.size() > kMaxLocation) return std::nullopt;
    open += value->size();
  }
  if (decoded.starts_with("file:")) {
    std::string path = decoded.substr(5);
    if (path.starts_with("//")) {
      // file://HOST/PATH names a folder on another machine, not /HOST/PATH
      // here; only an empty host and localhost are this machine, and
      // file://C:/x is an old spelling of file:///C:/x.
      const std::size_t end = std::min(path.find('/', 2), path.size());
      const std::string_view host = std::string_view(path).substr(2, end - 2);
      if (host.size() == 2 && path::hasDriveLetter(host)) {
        path.erase(0, 2);
      } else if (host.empty() || isLocalHost(host)) {
        path.erase(0, end);
      } else {
        return std::nullopt;
      }
    }
    // file:/C:/x names C:/x.
    if (path.size() >= 3 && path[0] == '/' && path[2] == ':') path.erase(0, 1);
    return path;
  }
  if (path::isAbsolute(decoded)) return decoded;
  std::size_t cut = 0;
  while (cut < decoded.size() && !path::isSeparator(decoded[cut], path::workbench)) ++cut;
  auto base = variable(std::string_view(decoded).substr(0, cut), depth);
  if (!base) return std::nullopt;
  if (cut < decoded.size()) {
    base->reserve(base->size() + decoded.size() - cut);
    base->append("/").append(std::string_view(decoded).substr(cut + 1));
  }
  return base;
}

LinkLocation LinkResolver::resolve(const LinkedResource& link) {
  if (link.isUri && link.location.starts_with("virtual:")) return {LinkLocation::Virtual, {}};
  std::optional<std::string> path = link.isUri ? uri(link.location, 0) : link.location;
  if (!path || path->empty()) return {};
  return {LinkLocation::Path, path::comparableOf(std::move(*path), context.projectFolder)};
}

LinkLocation resolveLinkLocation(const LinkedResource& link, const RealProjectContext& context) {
  return LinkResolver(context).resolve(link);
}
