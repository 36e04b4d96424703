#include "windows_links.h"

#include <string>

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
  const int n = MultiByteToWideChar(CP_ACP, 0, windowsPath.c_str(), -1, wide.data(),
                                    static_cast<int>(wide.size()));
  if (n == 0) return {};
  char* converted = convert(wide.c_str());
  if (converted == nullptr) return {};
  std::string result = converted;
  HeapFree(GetProcessHeap(), 0, converted);
  while (result.size() > 1 && result.back() == '/') result.pop_back();
  return result;
}

// The host path for a Windows path whose last part need not exist yet.
std::string hostPathOfNew(const std::string& windowsPath) {
  const std::size_t cut = windowsPath.find_last_of('\\');
  if (cut == std::string::npos) return {};
  const std::string folder = hostPath(windowsPath.substr(0, cut + 1));
  if (folder.empty()) return {};
  return folder + '/' + windowsPath.substr(cut + 1);
}

// Runs a program of the host, which Wine starts like any other; the command
// line is split at spaces, so no argument may hold one.
bool runOnHost(const std::string& commandLine) {
  std::string line = commandLine;
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &process)) {
    return false;
  }
  WaitForSingleObject(process.hProcess, INFINITE);
  DWORD code = 1;
  GetExitCodeProcess(process.hProcess, &code);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return code == 0;
}

bool hasNoSpace(const std::string& text) { return text.find(' ') == std::string::npos; }

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

std::string driveName(char letter) { return std::string(1, letter) + ':'; }

char lowerLetter(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

}  // namespace

bool makeFolderLink(const std::string& link, const std::string& target) {
  if (!underWine()) {
    return CreateSymbolicLinkA(link.c_str(), target.c_str(),
                               SYMBOLIC_LINK_FLAG_DIRECTORY |
                                   SYMBOLIC_LINK_FLAG_ALLOW_UNPRIVILEGED_CREATE) != 0;
  }
  const std::string hostLink = hostPathOfNew(link);
  const std::string hostTarget = hostPath(target);
  if (hostLink.empty() || hostTarget.empty() || !hasNoSpace(hostLink + hostTarget)) return false;
  return runOnHost("/bin/ln -s " + hostTarget + " " + hostLink);
}

bool mapDrive(char letter, const std::string& root) {
  if (GetLogicalDrives() & (1u << (lowerLetter(letter) - 'a'))) return false;
  if (!underWine()) return DefineDosDeviceA(0, driveName(letter).c_str(), root.c_str()) != 0;
  const std::string devices = dosDevices();
  const std::string hostRoot = hostPath(root);
  if (devices.empty() || hostRoot.empty() || !hasNoSpace(devices + hostRoot)) return false;
  return runOnHost("/bin/ln -s " + hostRoot + " " + devices + '/' + lowerLetter(letter) + ':');
}

void unmapDrive(char letter) {
  if (!underWine()) {
    DefineDosDeviceA(DDD_REMOVE_DEFINITION, driveName(letter).c_str(), nullptr);
    return;
  }
  const std::string devices = dosDevices();
  if (devices.empty() || !hasNoSpace(devices)) return;
  runOnHost(std::string("/bin/rm -f ") + devices + '/' + lowerLetter(letter) + ':');
}
