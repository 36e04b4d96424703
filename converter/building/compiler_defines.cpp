#include "building/compiler_defines.h"

#include "text/variable_references.h"

namespace {

constexpr auto npos = std::string::npos;

// Calls `use` with the text after each "-D" up to the next space.
template <typename Use>
void forEachDefinition(const std::string& text, Use use) {
  std::size_t pos = text.find("-D");
  while (pos != npos) {
    const std::size_t start = pos + 2;
    const std::size_t space = text.find(' ', start);
    use(text.substr(start, space == npos ? npos : space - start));
    if (space == npos) return;
    pos = text.find("-D", space);
  }
}

// Every $(X) in `value` replaced by build macro X, nothing when unknown.
std::string expandBuildMacros(std::string_view value, const LookupTable& buildMacros) {
  std::string result;
  std::size_t last = 0;
  forEachReference(value, [&](std::size_t begin, std::size_t end, std::string_view name) {
    result.append(value.substr(last, begin - last)).append(buildMacros.get(name));
    last = end;
  });
  result.append(value.substr(last));
  return result;
}

}  // namespace

Definition readDefinition(std::string_view argument) {
  const std::size_t equals = argument.find('=');
  if (equals == npos) return {argument, std::nullopt};
  return {argument.substr(0, equals), argument.substr(equals + 1)};
}

void defineFromCompilerCommand(std::string_view text, const LookupTable& buildMacros,
                               std::map<std::string, std::string>& macros) {
  const std::string command(text);
  auto define = [&](std::string_view name, std::string value) {
    if (!name.empty()) macros[std::string(name)] = std::move(value);
  };
  // A token of the command itself: $(NAME) takes build macro NAME's value,
  // NAME=VALUE has the references in its value resolved, and any other token
  // holding a reference cannot be read.
  forEachDefinition(command, [&](const std::string& token) {
    const bool isReference = token.starts_with("$(") && token.size() > 2 &&
                             token.back() == ')' && token.find(')') == token.size() - 1;
    if (isReference) {
      const std::string name = token.substr(2, token.size() - 3);
      define(name, std::string(buildMacros.get(name)));
      return;
    }
    const Definition definition = readDefinition(token);
    if (definition.value) {
      define(definition.name, expandBuildMacros(*definition.value, buildMacros));
    } else if (!holdsReference(token)) {
      define(definition.name, "");
    }
  });
  // The DEFINES build macro's tokens, where "$(" means nothing special.
  if (command.find("$(DEFINES)") == npos) return;
  forEachDefinition(std::string(buildMacros.get("DEFINES")), [&](const std::string& token) {
    const Definition definition = readDefinition(token);
    define(definition.name, std::string(definition.value.value_or("")));
  });
}
