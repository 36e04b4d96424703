#include "temp_dir.h"

#include <atomic>
#include <chrono>
#include <fstream>
#include <sstream>
#include <system_error>

namespace fs = std::filesystem;

TempDir::TempDir() {
  static std::atomic<unsigned> counter{0};
  const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
  for (;;) {
    fs::path candidate = fs::temp_directory_path() /
        ("plovik-test-" + std::to_string(stamp) + "-" + std::to_string(counter++));
    std::error_code error;
    if (fs::create_directory(candidate, error)) {
      root = candidate;
      return;
    }
  }
}

TempDir::~TempDir() {
  std::error_code error;
  // Tests may leave read-only folders behind; open them up so removal works.
  for (auto it = fs::recursive_directory_iterator(root, error);
       !error && it != fs::recursive_directory_iterator(); it.increment(error)) {
    std::error_code ignored;
    if (!it->is_symlink(ignored)) fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ignored);
  }
  fs::remove_all(root, error);
}

std::string TempDir::str(const std::string& relative) const {
  return relative.empty() ? root.string() : (root / relative).string();
}

void TempDir::writeFile(const std::string& relative, const std::string& content) const {
  const fs::path target = root / relative;
  fs::create_directories(target.parent_path());
  std::ofstream out(target, std::ios::binary);
  out << content;
}

void TempDir::makeFolder(const std::string& relative) const {
  fs::create_directories(root / relative);
}

std::string readFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream content;
  content << in.rdbuf();
  return content.str();
}
