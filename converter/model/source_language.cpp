#include "model/source_language.h"

#include <array>

#include "text/path.h"

SourceLanguage languageOf(std::string_view path) {
  static constexpr std::array<std::string_view, 9> cxx{"cc", "cp", "cpp", "cxx", "c++",
                                                       "C",  "CC", "CPP", "CXX"};
  // A dot in a folder's name gives an extension holding a separator, which
  // names no language.
  const std::optional<std::string_view> extension = path::extension(path);
  if (!extension) return SourceLanguage::None;
  if (*extension == "c") return SourceLanguage::C;
  for (const std::string_view one : cxx) {
    if (*extension == one) return SourceLanguage::Cxx;
  }
  return SourceLanguage::None;
}
