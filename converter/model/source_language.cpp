#include "model/source_language.h"

#include <array>

namespace {

std::string_view extensionOf(std::string_view path) {
  const std::size_t dot = path.rfind('.');
  const std::size_t separator = path.find_last_of("/\\");
  if (dot == std::string_view::npos || (separator != std::string_view::npos && dot < separator)) {
    return {};
  }
  return path.substr(dot);
}

}  // namespace

SourceLanguage languageOf(std::string_view path) {
  static constexpr std::array<std::string_view, 9> cxx{".cc",  ".cp", ".cpp", ".cxx", ".c++",
                                                       ".C",   ".CC", ".CPP", ".CXX"};
  const std::string_view extension = extensionOf(path);
  if (extension == ".c") return SourceLanguage::C;
  for (const std::string_view one : cxx) {
    if (extension == one) return SourceLanguage::Cxx;
  }
  return SourceLanguage::None;
}
