#include "windows_fixtures.h"

#include <string>
#include <utility>
#include <vector>

#include "command_line_win32.h"

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

namespace {

bool underWine() {
  return GetProcAddress(GetModuleHandleA("ntdll.dll"), "wine_get_version") != nullptr;
}

// The host path of an existing Windows file or folder, through Wine's own
// conversion (kernel32's wine_get_unix_file_name); empty when there is none.
std::string hostPath(const std::string& windowsPath) {
  using Convert = char*(CDECL*)(const WCHAR*);
  const auto convert = reinterpret_cast<Convert>(reinterpret_cast<void*>(
      GetProcAddress(GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name")));
  if (convert == nullptr) return {};
  std::wstring wide(windowsPath.size() + 1, L'\0');
  if (MultiByteToWideChar(CP_ACP, 0, windowsPath.c_str(), -1, wide.data(),
                          static_cast<int>(wide.size())) == 0) {
    return {};
  }
  char* converted = convert(wide.c_str());
  if (converted == nullptr) return {};
  std::string result = converted;
  HeapFree(GetProcessHeap(), 0, converted);
  while (result.size() > 1 && result.back() == '/') result.pop_back();
  return result;
}

// The host path of a Windows path whose last part need not exist (or may be
// a link, which is not to be followed).
std::string hostPathOfLast(const std::string& windowsPath) {
  const std::size_t cut = windowsPath.find_last_of('\\');
  if (cut == std::string::npos) return {};
  const std::string folder = hostPath(windowsPath.substr(0, cut + 1));
  if (folder.empty()) return {};
  // Host paths are UTF-8; the name is in the ANSI code page.
  const std::string name = windowsPath.substr(cut + 1);
  std::wstring wide(name.size() + 1, L'\0');
  const int length = MultiByteToWideChar(CP_ACP, 0, name.c_str(), -1, wide.data(),
                                         static_cast<int>(wide.size()));
  if (length == 0) return {};
  std::string utf8(wide.size() * 3 + 1, '\0');
  const int bytes = WideCharToMultiByte(CP_UTF8, 0, wide.c_str(), -1, utf8.data(),
                                        static_cast<int>(utf8.size()), nullptr, nullptr);
  if (bytes == 0) return {};
  utf8.resize(static_cast<std::size_t>(bytes) - 1);
  return folder + '/' + utf8;
}

// Runs a program of the host, which Wine starts like any other. Neither its
// end nor its exit status comes through reliably (a 32-bit process may see
// it end at once), so callers wait for its effect. The arguments are host
// paths in UTF-8, which Wine's own conversion gives: they go through the
// wide-character call, so that no ANSI code page has to hold them, quoted as
// Wine splits a host program's command line.
void runOnHost(const std::vector<std::string>& args) {
  std::string commandLine;
  for (const auto& arg : args) commandLine += (commandLine.empty() ? "" : " ") + quoteArgument(arg);
  const int length = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, commandLine.c_str(), -1,
                                         nullptr, 0);
  if (length == 0) return;
  std::wstring wide(static_cast<std::size_t>(length), L'\0');
  MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, commandLine.c_str(), -1, wide.data(), length);
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!CreateProcessW(nullptr, wide.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &process)) {
    return;
  }
  WaitForSingleObject(process.hProcess, INFINITE);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
}

// Waits up to ten seconds for `done` to hold.
template <typename Done>
bool waitFor(Done done) {
  for (int i = 0; i < 1000; ++i) {
    if (done()) return true;
    Sleep(10);
  }
  return done();
}

// The prefix's dosdevices folder on the host: drive C: is a link in it.
std::string dosDevices() {
  const std::string driveC = hostPath("C:\\");
  const std::string suffix = "/c:";
  if (driveC.size() <= suffix.size() ||
      driveC.compare(driveC.size() - suffix.size(), suffix.size(), suffix) != 0) {
    return {};
  }
  return driveC.substr(0, driveC.size() - suffix.size());
}

char lowerLetter(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

std::string driveLink(char letter) {
  const std::string folder = dosDevices();
  return folder.empty() ? folder : folder + '/' + lowerLetter(letter) + ':';
}

std::string driveName(char letter) { return std::string(1, letter) + ':'; }

bool driveExists(char letter) {
  return GetFileAttributesA((driveName(letter) + '\\').c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool isLink(const std::string& path) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT);
}

}  // namespace

FolderLink::FolderLink(std::string linkPath, const std::string& target)
    : link(std::move(linkPath)) {
  if (underWine()) {
    const std::string hostLink = hostPathOfLast(link);
    const std::string hostTarget = hostPath(target);
    if (!hostLink.empty() && !hostTarget.empty()) runOnHost({"/bin/ln", "-s", hostTarget, hostLink});
  } else {
    CreateSymbolicLinkA(link.c_str(), target.c_str(),
                        SYMBOLIC_LINK_FLAG_DIRECTORY | SYMBOLIC_LINK_FLAG_ALLOW_UNPRIVILEGED_CREATE);
  }
  isMade = waitFor([this] { return isLink(link); });
}

FolderLink::~FolderLink() {
  if (!isMade) return;
  if (underWine()) {
    const std::string hostLink = hostPathOfLast(link);
    if (!hostLink.empty()) runOnHost({"/bin/rm", "-f", hostLink});
  } else {
    RemoveDirectoryA(link.c_str());
  }
  waitFor([this] { return !isLink(link); });
}

MappedDrive::MappedDrive(char driveLetter, const std::string& root) : letter(driveLetter) {
  // A drive that is in use stays as it is; a dangling link that a run cut
  // short left behind is replaced.
  if (driveExists(letter)) return;
  if (underWine()) {
    const std::string hostLink = driveLink(letter);
    const std::string hostRoot = hostPath(root);
    if (!hostLink.empty() && !hostRoot.empty()) runOnHost({"/bin/ln", "-sfn", hostRoot, hostLink});
  } else {
    DefineDosDeviceA(0, driveName(letter).c_str(), root.c_str());
  }
  isMade = waitFor([this] { return driveExists(letter); });
}

MappedDrive::~MappedDrive() {
  if (!isMade) return;
  if (underWine()) {
    const std::string hostLink = driveLink(letter);
    if (!hostLink.empty()) runOnHost({"/bin/rm", "-f", hostLink});
  } else {
    DefineDosDeviceA(DDD_REMOVE_DEFINITION, driveName(letter).c_str(), nullptr);
  }
  waitFor([this] { return !driveExists(letter); });
}

void setDriveDirectory(char letter, const std::string& directory) {
  const std::string name = std::string("=") + letter + ':';
  SetEnvironmentVariableA(name.c_str(), directory.empty() ? nullptr : directory.c_str());
}

bool setFileAttributes(const std::string& path, unsigned attributes) {
  return SetFileAttributesA(path.c_str(), attributes == 0 ? FILE_ATTRIBUTE_NORMAL : attributes) != 0;
}
