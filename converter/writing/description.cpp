#include "writing/description.h"

#include <functional>

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
  // One object per line, or "[]".
  static std::string lines(const std::vector<std::string>& objects) {
    if (objects.empty()) return "[]";
    std::string json = "[\n";
    for (std::size_t i = 0; i < objects.size(); ++i) {
      json.append("    ").append(objects[i]).append(i + 1 < objects.size() ? ",\n" : "\n");
    }
    return json + "  ]";
  }

  const std::function<std::string(const Note&)>& textOf;
  std::vector<std::string> leftOut;
};

struct GroupCount {
  std::string name;
  std::string path;
  std::size_t files;
};

// The groups in the project file's order, the root named as the project.
std::vector<GroupCount> groupsOf(const FileGroup& root, const std::string& projectName) {
  std::vector<GroupCount> groups;
  std::vector<std::string> open;
  walkGroups(
      root,
      [&](const FileGroup& group) {
        const std::string& name = open.empty() ? projectName : group.name;
        std::string path = open.empty() ? projectName : open.back() + "/" + group.name;
        std::size_t files = 0;
        for (const auto& file : group.files) files += file.empty() ? 0 : 1;
        groups.push_back({name, path, files});
        open.push_back(std::move(path));
      },
      [&](const FileGroup&) { open.pop_back(); });
  return groups;
}

}  // namespace

std::string describedJson(const Description& d,
                          const std::function<std::string(const Note&)>& textOf) {
  JsonBuilder json(textOf);
  std::string name = json.literal(d.projectName);
  if (name.empty()) name = "\"\"";

  const std::string defaultSpec = json.optional(d.defaultSpec);
  const std::string chosenSpec = json.optional(d.chosenSpec);
  const std::string chosenTarget = json.optional(d.chosenTarget);

  std::vector<std::string> projects;
  for (const auto& [project, folder] : d.referencedProjects) {
    const std::string projectJson = json.literal(project);
    const std::string folderJson = folder ? json.literal(*folder) : "null";
    if (projectJson.empty() || folderJson.empty()) continue;
    projects.push_back("{\"name\": " + projectJson + ", \"folder\": " + folderJson + "}");
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
  std::size_t includePaths = 0, macros = 0;
  if (d.root != nullptr) {
    for (const auto& group : groupsOf(*d.root, d.projectName)) {
      const std::string nameJson = json.literal(group.name);
      const std::string pathJson = json.literal(group.path);
      if (nameJson.empty() || pathJson.empty()) continue;
      groups.push_back("{\"name\": " + nameJson + ", \"path\": " + pathJson +
                       ", \"files\": " + std::to_string(group.files) + "}");
    }
    includePaths = d.root->includePaths.size();
    macros = d.root->macros.size();
  }
  std::vector<std::string> fileSettings;
  for (const auto& settings : d.fileSettings) {
    const std::string fileJson = json.literal(settings.file);
    const std::string ownerJson = json.literal(settings.owner);
    const std::string specJson = json.optional(settings.spec);
    const std::string targetJson = json.optional(settings.target);
    if (fileJson.empty() || ownerJson.empty()) continue;
    fileSettings.push_back("{\"file\": " + fileJson + ", \"owner\": " + ownerJson +
                           ", \"spec\": " + specJson + ", \"target\": " + targetJson +
                           ", \"from\": " + json.list(settings.from) + "}");
  }
  const std::string knownSpecs = json.list(d.knownSpecs);
  const std::string knownTargets = json.list(d.knownTargets);

  std::vector<std::string> warnings;
  for (const auto& warning : d.warnings) warnings.push_back(JsonBuilder::shown(warning));
  for (const auto& warning : json.leftOut) warnings.push_back(JsonBuilder::shown(warning));

  std::string text = "{\n  \"version\": 1,\n";
  text += std::string("  \"mode\": \"") + (d.realProject ? "real-project" : "default") + "\",\n";
  text += "  \"project\": {\"name\": " + name + ", \"from\": \"" + d.projectFrom + "\"},\n";
  text += "  \"buildSpecs\": {\"known\": " + knownSpecs + ", \"default\": " + defaultSpec +
          ", \"chosen\": " + chosenSpec + "},\n";
  text += "  \"buildTargets\": {\"known\": " + knownTargets + ", \"chosen\": " + chosenTarget +
          "},\n";
  text += "  \"referencedProjects\": " + JsonBuilder::lines(projects) + ",\n";
  text += "  \"variables\": " + JsonBuilder::lines(variables) + ",\n";
  text += "  \"groups\": " + JsonBuilder::lines(groups) + ",\n";
  text += "  \"includePaths\": " + std::to_string(includePaths) + ",\n";
  text += "  \"macros\": " + std::to_string(macros) + ",\n";
  text += "  \"fileSettings\": " + JsonBuilder::lines(fileSettings) + ",\n";
  text += "  \"warnings\": " + JsonBuilder::lines(warnings) + ",\n";
  text += "  \"failure\": " + (d.failure ? JsonBuilder::shown(*d.failure) : std::string("null")) + "\n}\n";
  return text;
}
