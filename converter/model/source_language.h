// Which language a source file is written in, told by its extension.
#pragma once

#include <string_view>

enum class SourceLanguage { None, C, Cxx };

// ".c" is C; ".cc", ".cp", ".cpp", ".cxx", ".c++", ".C" and ".CC", ".CPP",
// ".CXX" are C++; anything else (headers, assembly) is no translation unit.
SourceLanguage languageOf(std::string_view path);
