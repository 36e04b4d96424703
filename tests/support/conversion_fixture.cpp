#include "conversion_fixture.h"

namespace fs = std::filesystem;

const std::string s(1, static_cast<char>(fs::path::preferred_separator));

std::map<std::string, std::string> filesBelow(const fs::path& folder) {
  std::map<std::string, std::string> files;
  for (const auto& entry : fs::recursive_directory_iterator(folder)) {
    if (!entry.is_directory()) {
      files[fs::relative(entry.path(), folder).generic_string()] = readFile(entry.path());
    }
  }
  return files;
}

std::string subprojects(const std::vector<std::string>& paths) {
  std::string text = "<subprojects>\n";
  for (const auto& path : paths) text += "<subproject project=\"/" + path + "\"/>\n";
  return text + "</subprojects>\n";
}

std::string includes(const std::vector<std::string>& paths) {
  std::string text = "<listAttribute key=\"BLD::Info|Incl|gnu\">\n";
  for (const auto& path : paths) text += "<stringAttribute value=\"-I" + path + "\"/>\n";
  return text + "</listAttribute>\n";
}

std::string compilerCommand(const std::string& command) {
  return "<stringAttribute key=\"BLD::Info|Tool|C-Compiler|cmd\" value=\"" + command + "\"/>\n";
}

void Conversion::SetUp() {
  dir.makeFolder("ws");
  dir.makeFolder("out");
}

void Conversion::describe(const std::string& name, const std::vector<std::string>& projects,
                          const std::string& buildSettings) {
  std::string project = "<projectDescription>";
  if (!name.empty()) project += "<name>" + name + "</name>";
  project += "<projects>";
  for (const auto& referenced : projects) project += "<project>" + referenced + "</project>";
  dir.writeFile("proj/.project", project + "</projects></projectDescription>");
  dir.writeFile("proj/.wrproject", buildSettings);
}

ProgramResult Conversion::convert(const std::vector<std::string>& options,
                                  const std::string& dest) {
  std::vector<std::string> args{"proj/.project", "proj/.wrproject", ws, dest};
  args.insert(args.end(), options.begin(), options.end());
  return runPlovik(args, dir.str());
}

std::string Conversion::at(const std::string& relative) const {
  return dir.str() + s + fs::path(relative).make_preferred().string();
}

void Conversion::describeExample() {
  dir.writeFile("ws/main.c", "");
  dir.writeFile("ws/io.c", "");
  dir.writeFile("ws/Lib/lib.c", "");
  describe("App", {"Lib"}, subprojects({"Lib"}) + includes({ws + s + "inc"}));
}
