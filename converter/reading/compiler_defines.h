// Macro definitions from a C compiler command line: its own -D tokens, with
// build macros resolved as far as the lines before the command supplied them,
// and the tokens of the DEFINES build macro when the command names it.
#pragma once

#include <map>
#include <string>
#include <string_view>

#include "reading/lookup_table.h"

// Sets each definition of `command` in `macros`; a later one replaces an
// earlier one of the same name, and the DEFINES pass comes last. With
// `keepUnknown`, a reference to a build macro that is not known stays as
// written ("$(X)") in a value, for a later step to resolve or report;
// otherwise it is replaced by nothing.
void defineFromCompilerCommand(std::string_view command, const LookupTable& buildMacros,
                               std::map<std::string, std::string>& macros, bool keepUnknown);

// Every $(X) in `value` replaced by build macro X (unknown ones as above).
std::string expandBuildMacros(std::string_view value, const LookupTable& buildMacros,
                              bool keepUnknown);
