// Macro definitions from a C compiler command line: its own -D tokens, with
// build macros resolved as far as the lines before the command supplied them,
// and the tokens of the DEFINES build macro when the command names it.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>

#include "text/lookup_table.h"

// The argument of one -D option, as every reader of a compiler command cuts
// it: the name before the first "=" and the text after it; no value without
// an "=" ("-DX"), an empty one with it ("-DX="). What a missing or empty value
// means is the caller's to say.
struct Definition {
  std::string_view name;
  std::optional<std::string_view> value;
};
Definition readDefinition(std::string_view argument);

// Sets each definition of `command` in `macros`; a later one replaces an
// earlier one of the same name, and the DEFINES pass comes last. A $(X) in a
// value is replaced by build macro X as far as the lines before the command
// supplied it, by nothing when unknown. "-DX" and "-DX=" both define X as
// the empty text.
void defineFromCompilerCommand(std::string_view command, const LookupTable& buildMacros,
                               std::map<std::string, std::string>& macros);
