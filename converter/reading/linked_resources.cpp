#include "reading/linked_resources.h"

#include <charconv>
#include <optional>

#include "model/failure.h"
#include "reading/markup_reader.h"
#include "reading/workbench_facts.h"
#include "text/path.h"

namespace {

// The elements whose text is kept, by their place below <projectDescription>.
class LinkCollector {
 public:
  void open(std::string_view name) {
    path.emplace_back(name);
    text.clear();
    if (at({"linkedResources", "link"})) link = {};
    if (at({"variableList", "variable"})) variable = {};
  }

  void close() {
    const std::string value = trimmed(decodeEntities(text));
    if (at({"linkedResources", "link", "name"})) link.name = value;
    if (at({"linkedResources", "link", "type"})) link.folder = value == "2";
    if (at({"linkedResources", "link", "location"})) link.location = value, link.isUri = false;
    if (at({"linkedResources", "link", "locationURI"})) link.location = value, link.isUri = true;
    if (at({"linkedResources", "link"}) && !link.name.empty() && !link.location.empty()) {
      result.links.push_back(std::move(link));
    }
    if (at({"variableList", "variable", "name"})) variable.first = value;
    if (at({"variableList", "variable", "value"})) variable.second = value;
    if (at({"variableList", "variable"}) && !variable.first.empty()) {
      result.variables.push_back(std::move(variable));
    }
    path.pop_back();
    text.clear();
  }

  bool empty() const { return path.empty(); }
  std::string text;  // of the element open last
  ProjectLinks result;

 private:
  bool at(std::initializer_list<std::string_view> below) const {
    if (path.size() != below.size() + 1 || path[0] != "projectDescription") return false;
    std::size_t i = 1;
    for (const std::string_view name : below) {
      if (path[i++] != name) return false;
    }
    return true;
  }
  static std::string trimmed(std::string text) {
    text.erase(text.find_last_not_of(" \t\r\n") + 1);
    return text;
  }

  std::vector<std::string> path;  // the elements open, outermost first
  LinkedResource link;
  std::pair<std::string, std::string> variable;
};

std::string percentDecoded(std::string_view uri) {
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

bool isSeparator(char c) { return c == '/' || c == '\\'; }

// Variables may refer to variables; a chain this long is a loop.
constexpr int kMaxDepth = 16;
// No path is this long; a location that grows past it is no location.
constexpr std::size_t kMaxLocation = 1 << 16;

class Resolver {
 public:
  explicit Resolver(const LinkContext& context) : context(context) {}

  std::optional<std::string> variable(std::string_view name, int depth) const {
    if (depth > kMaxDepth) return std::nullopt;
    for (auto given = context.given.rbegin(); given != context.given.rend(); ++given) {
      if (given->first == name) return given->second;
    }
    if (name == "PROJECT_LOC") return context.projectFolder;
    if (name == "WORKSPACE_LOC") return context.workspaceFolder;
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
    for (const auto& [known, value] : context.projectVariables) {
      if (known == name) return uri(value, depth + 1);
    }
    return std::nullopt;
  }

  // A URI's path; nothing when a variable it names is unknown.
  std::optional<std::string> uri(std::string_view text, int depth) const {
    std::string decoded = percentDecoded(text);
    // "${NAME}", as the description's own variables write their values.
    for (std::size_t open = decoded.find("${"); open != std::string::npos;
         open = decoded.find("${", open)) {
      const std::size_t close = decoded.find('}', open);
      if (close == std::string::npos) return std::nullopt;
      const auto value = variable(std::string_view(decoded).substr(open + 2, close - open - 2), depth + 1);
      if (!value) return std::nullopt;
      decoded.replace(open, close + 1 - open, *value);
      // Variables that double each other would grow without measure.
      if (decoded.size() > kMaxLocation) return std::nullopt;
      open += value->size();
    }
    if (decoded.starts_with("file:")) {
      std::string path = decoded.substr(5);
      if (path.starts_with("///")) path.erase(0, 2);
      // file:/C:/x names C:/x.
      if (path.size() >= 3 && path[0] == '/' && path[2] == ':') path.erase(0, 1);
      return path;
    }
    if (path::isAbsolute(decoded)) return decoded;
    std::size_t cut = 0;
    while (cut < decoded.size() && !isSeparator(decoded[cut])) ++cut;
    auto base = variable(std::string_view(decoded).substr(0, cut), depth);
    if (!base) return std::nullopt;
    if (cut < decoded.size()) base->append("/").append(decoded.substr(cut + 1));
    return base;
  }

 private:
  const LinkContext& context;
};

}  // namespace

ProjectLinks parseLinkedResources(std::string_view text) {
  MarkupReader reader(text);
  LinkCollector collector;
  try {
    for (;;) {
      const MarkupReader::TokenKind kind = reader.peek();
      const std::string token = reader.currentToken();
      reader.drop();
      if (kind == MarkupReader::StartTag && !token.ends_with('/')) {
        collector.open(std::string_view(token).substr(0, token.find_first_of(" \t\r\n")));
      } else if (kind == MarkupReader::Text) {
        collector.text = token;
      } else if (kind == MarkupReader::EndTag) {
        if (collector.empty()) break;
        collector.close();
        if (collector.empty()) break;  // the end of the description
      }
    }
  } catch (const Failure&) {
    // The end of the text: what was read stands.
  }
  return std::move(collector.result);
}

LinkLocation resolveLinkLocation(const LinkedResource& link, const LinkContext& context) {
  if (link.isUri && link.location.starts_with("virtual:")) return {LinkLocation::Virtual, {}};
  std::optional<std::string> path = link.location;
  if (link.isUri) path = Resolver(context).uri(link.location, 0);
  if (!path || path->empty()) return {};
  return {LinkLocation::Path, path::comparable(*path, context.projectFolder)};
}
