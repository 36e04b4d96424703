#include "writing/description.h"

#include <functional>
#include <unordered_map>

#include "writing/json_text.h"

namespace {

// Builds the document member by member, leaving out what is not UTF-8.
class JsonBuilder {
 public:
  explicit JsonBuilder(const std::function<std::string(const Note&)>& textOf) : textOf(textOf) {}

  std::string literal(const std::string& text) {
    std::string json;
    if (jsonOf(text, json)) return json;
    leftOut.push_back(textOf({NoteKind::NotUtf8InDescription, shownAsUtf8(text)}));
    return {};
  }
  // A message: what is not UTF-8 in it is shown as "?".
  static std::string shown(const std::string& text) {
    std::string json;
    if (jsonOf(text, json)) return json;
    json.clear();
    appendJsonString(json, shownAsUtf8(text));
    return json;
  }
  // "null" for none, and for a text that is not UTF-8 (with its warning).
  std::string optional(const std::optional<std::string>& text) {
    if (!text) return "null";
    std::string json = literal(*text);
    return json.empty() ? "null" : json;
  }
  std::string list(const std::vector<std::string>& texts) {
    std::string json = "[";
    for (const auto& text : texts) {
      const std::string item = literal(text);
      if (item.empty()) continue;
      json.append(json.size() > 1 ? ", " : "").append(item);
    }
    return json + "]";
  }
  // One object per line, or "[]"; `nl` ends a line and indents the next.
  static std::string lines(const std::vector<std::string>& objects, const std::string& nl) {
    if (objects.empty()) return "[]";
    std::string json = "[" + nl;
    for (std::size_t i = 0; i < objects.size(); ++i) {
      json.append("    ").append(objects[i]).append(i + 1 < objects.size() ? "," : "").append(nl);
    }
    return json + "  ]";
  }

  const std::function<std::string(const Note&)>& textOf;
  std::vector<std::string> leftOut;
};

// A name the document already names, or leaves out with its warning: here
// without a warning of its own.
std::string quietLiteral(const std::string& text) {
  std::string json;
  return jsonOf(text, json) ? json : "null";
}

// A text of the workspace document, with the bytes that are no UTF-8 as "?".
std::string workspaceText(const std::string& text) {
  std::string json;
  if (jsonOf(text, json)) return json;
  std::string shown = text;
  for (char& c : shown) {
    if (static_cast<unsigned char>(c) >= 0x80) c = '?';
  }
  jsonOf(shown, json);
  return json;
}

}  // namespace

void describeGroups(Description& d, const FileGroup& root, const std::string& projectName,
                    const std::optional<std::string>& owner,
                    const std::vector<std::pair<const FileGroup*, std::string>>& owned) {
  std::vector<std::string> open;
  std::vector<const std::string*> owners;
  std::unordered_map<const FileGroup*, const std::string*> ownerOf;
  for (const auto& [group, name] : owned) ownerOf.emplace(group, &name);
  walkGroups(
      root,
      [&](const FileGroup& group) {
        const std::string& name = open.empty() ? projectName : group.name;
        std::string path = open.empty() ? projectName : open.back() + "/" + group.name;
        std::size_t files = 0;
        for (const auto& file : group.files) files += file.empty() ? 0 : 1;
        const std::string* ownedBy = owners.empty() ? (owner ? &*owner : nullptr) : owners.back();
        const auto found = ownerOf.find(&group);
        if (found != ownerOf.end()) ownedBy = found->second;
        d.groups.push_back({name, path, files,
                            ownedBy ? std::optional<std::string>(*ownedBy) : std::nullopt});
        open.push_back(std::move(path));
        owners.push_back(ownedBy);
      },
      [&](const FileGroup&) {
        open.pop_back();
        owners.pop_back();
      });
  d.includePaths = root.includePaths.size();
  d.macros = root.macros.size();
}

std::string describedJson(const Description& d,
                          const std::function<std::string(const Note&)>& textOf,
                          const std::string& indent) {
  JsonBuilder json(textOf);
  std::string name = json.literal(d.projectName);
  if (name.empty()) name = "\"\"";

  const std::string defaultSpec = json.optional(d.defaultSpec);
  const std::string chosenSpec = json.optional(d.chosenSpec);
  const std::string chosenTarget = json.optional(d.chosenTarget);

  std::vector<std::string> projects;
  for (std::size_t i = 0; i < d.referencedProjects.size(); ++i) {
    const auto& [project, folder] = d.referencedProjects[i];
    const std::string projectJson = json.literal(project);
    const std::string folderJson = folder ? json.literal(*folder) : "null";
    if (projectJson.empty() || folderJson.empty()) continue;
    std::string built;
    if (i < d.subprojectBuilds.size()) {
      const Description::SubprojectBuild& build = d.subprojectBuilds[i];
      built = ", \"settings\": " + json.optional(build.settings) +
              ", \"buildSpec\": " + json.optional(build.buildSpec);
    }
    projects.push_back("{\"name\": " + projectJson + ", \"folder\": " + folderJson + built + "}");
  }
  std::vector<std::string> variables;
  for (const auto& variable : d.variables) {
    const std::string nameJson = json.literal(variable.name);
    const std::string valueJson = variable.value ? json.literal(*variable.value) : "null";
    if (nameJson.empty() || valueJson.empty()) continue;
    variables.push_back("{\"name\": " + nameJson + ", \"value\": " + valueJson +
                        ", \"source\": " + json.literal(variable.source) + "}");
  }
  std::vector<std::string> groups;
  for (const auto& group : d.groups) {
    const std::string nameJson = json.literal(group.name);
    const std::string pathJson = json.literal(group.path);
    if (nameJson.empty() || pathJson.empty()) continue;
    const std::string owner = group.owner ? ", \"owner\": " + quietLiteral(*group.owner) : "";
    groups.push_back("{\"name\": " + nameJson + ", \"path\": " + pathJson +
                     ", \"files\": " + std::to_string(group.files) + owner + "}");
  }
  const std::size_t includePaths = d.includePaths, macros = d.macros;
  std::vector<std::string> fileSettings;
  for (const auto& settings : d.fileSettings) {
    const std::string fileJson = json.literal(settings.file);
    const std::string targetJson = json.literal(settings.target);
    if (fileJson.empty() || targetJson.empty()) continue;
    fileSettings.push_back("{\"file\": " + fileJson + ", \"target\": " + targetJson +
                           ", \"from\": " + json.list(settings.from) + "}");
  }
  const std::string knownSpecs = json.list(d.knownSpecs);
  const std::string knownTargets = json.list(d.knownTargets);

  // Only the real-project mode's document has them: the default's stays as it was.
  std::string compilers;
  if (d.realProject) {
    const auto compiler = [&](const Description::Compiler& c) {
      const std::string program = c.program.empty() ? "" : json.literal(c.program);
      return "{\"program\": " + (program.empty() ? std::string("null") : program) +
             ", \"command\": " + (c.command == 0 ? "null" : std::to_string(c.command)) +
             ", \"commands\": " + std::to_string(c.commands) +
             ", \"inBranch\": " + (c.maybe ? "true" : "false") + "}";
    };
    compilers = "  \"compilers\": {\"c\": " + compiler(d.cCompiler) + ", \"c++\": " +
                compiler(d.cxxCompiler) + "},";
  }

  std::vector<std::string> warnings;
  for (const auto& warning : d.warnings) warnings.push_back(JsonBuilder::shown(warning));
  for (const auto& warning : json.leftOut) warnings.push_back(JsonBuilder::shown(warning));

  const std::string nl = "\n" + indent;  // a line's end, and the next one's indent
  std::string text = "{" + nl + "  \"version\": 1," + nl;
  text += std::string("  \"mode\": \"") + (d.realProject ? "real-project" : "default") + "\"," + nl;
  text += "  \"project\": {\"name\": " + name + ", \"from\": \"" + d.projectFrom + "\"}," + nl;
  text += "  \"buildSpecs\": {\"known\": " + knownSpecs + ", \"default\": " + defaultSpec +
          ", \"chosen\": " + chosenSpec + "}," + nl;
  text += "  \"buildTargets\": {\"known\": " + knownTargets + ", \"chosen\": " + chosenTarget +
          "}," + nl;
  text += "  \"referencedProjects\": " + JsonBuilder::lines(projects, nl) + "," + nl;
  text += "  \"variables\": " + JsonBuilder::lines(variables, nl) + "," + nl;
  text += "  \"groups\": " + JsonBuilder::lines(groups, nl) + "," + nl;
  text += "  \"includePaths\": " + std::to_string(includePaths) + "," + nl;
  text += "  \"macros\": " + std::to_string(macros) + "," + nl;
  if (!compilers.empty()) text += compilers + nl;
  if (d.realProject) text += "  \"fileSettings\": " + JsonBuilder::lines(fileSettings, nl) + "," + nl;
  text += "  \"warnings\": " + JsonBuilder::lines(warnings, nl) + "," + nl;
  text += "  \"failure\": " + (d.failure ? JsonBuilder::shown(*d.failure) : std::string("null")) + nl +
          "}\n";
  return text;
}

std::string workspaceJson(const WorkspaceDescription& w,
                          const std::function<std::string(const Note&)>& textOf) {
  std::string json = "{\n  \"version\": 1,\n  \"mode\": \"workspace\",\n  \"workspace\": ";
  json += workspaceText(w.workspace) + ",\n  \"destination\": " + workspaceText(w.destination);
  json += ",\n  \"projects\": [";
  for (std::size_t i = 0; i < w.projects.size(); ++i) {
    const WorkspaceDescription::Project& project = w.projects[i];
    json += i == 0 ? "\n" : ",\n";
    json += "    {\n      \"name\": " + workspaceText(project.name);
    json += ",\n      \"folder\": " + workspaceText(project.folder);
    json += ",\n      \"output\": " + workspaceText(project.output);
    json += ",\n      \"description\": ";
    if (project.description) {
      json += describedJson(*project.description, textOf, "      ");
      json.pop_back();  // its line feed: the project's object goes on
    }
    json += "\n    }";
  }
  json += w.projects.empty() ? "]" : "\n  ]";
  json += ",\n  \"warnings\": [";
  for (std::size_t i = 0; i < w.warnings.size(); ++i) {
    json += (i == 0 ? "" : ", ") + workspaceText(w.warnings[i]);
  }
  json += "],\n  \"failure\": " + (w.failure ? workspaceText(*w.failure) : std::string("null")) +
          "\n}\n";
  return json;
}
