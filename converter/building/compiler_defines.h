// Macro definitions from a C compiler command line: its own -D tokens, with
// build macros resolved as far as the lines before the command supplied them,
// and the tokens of the DEFINES build macro when the command names it.
#pragma once

#include <map>
#include <string>
#include <string_view>

#include "text/lookup_table.h"

// Sets each definition of `command` in `macros`; a later one replaces an
// earlier one of the same name, and the DEFINES pass comes last. A $(X) in a
// value is replaced by build macro X as far as the lines before the command
// supplied it, by nothing when unknown.
void defineFromCompilerCommand(std::string_view command, const LookupTable& buildMacros,
                               std::map<std::string, std::string>& macros);
