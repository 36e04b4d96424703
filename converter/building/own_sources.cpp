#include "building/own_sources.h"

#include <iterator>

#include "building/linked_sources.h"
#include "model/file_names.h"
#include "model/source_language.h"
#include "text/path.h"

OwnSourcesFound addOwnSources(const RealProjectContext& context, const FolderScan& scan,
                              const OwnSources& own, FileGroup& root) {
  // The project's own folder, like a sub-project, without its build
  // output, folders named like a build spec, .metadata and sub-project
  // folders.
  std::set<std::string> excluded = own.excludedFolders;
  for (const auto& folder : own.facts.outputFolders) {
    excluded.insert(path::comparable(path::join(context.projectFolder, folder.value),
                                     context.currentDirectory));
  }
  const std::set<std::string> specNames(own.specNames.begin(), own.specNames.end());
  const auto skipFolder = [&](const std::string& folder) {
    const std::string_view name = path::fileName(folder);
    return name == kMetadataFolder || name == kSettingsFolder || specNames.count(std::string(name)) > 0 ||
           excluded.count(path::comparable(folder, context.currentDirectory)) > 0;
  };
  FileGroup sources;
  sources.sourceFolder = context.projectFolder;
  scan.scan(context.projectFolder, sources, true, {skipFolder});

  const TargetFilter filter(own.facts.targets, own.target, context.projectName);
  OwnSourcesFound found;
  // A kept file's attributes, where any level gives some.
  const auto noteAttributes = [&](std::string_view shown, const std::string& listed) {
    const FileAttributes attributes = filter.attributesOf(shown);
    if (attributes.folder != nullptr || attributes.file != nullptr ||
        (attributes.target != nullptr && !attributes.target->attributes.empty())) {
      found.attributed.emplace_back(listed, attributes);
    }
  };
  const std::size_t base = context.projectFolder.size() + 1;
  walkGroups(sources, [&](FileGroup& group) {
    std::erase_if(group.files, [&](const std::string& file) {
      const std::string_view shown = std::string_view(file).substr(base);
      if (!filter.keeps(shown)) return true;
      noteAttributes(shown, file);
      return false;
    });
  }, [](FileGroup&) {});
  // Linked files are judged by the names the project shows them under.
  found.targetLoops = filter.loops();
  found.moreTargetLoops = filter.moreLoops();
  if (filter.chosenNamesNothing()) found.emptyTarget = own.target->name;
  found.missingLinks = addLinkedSources(
      sources, context, own.links, scan, skipFolder,
      [&](std::string_view shown, const std::string& listed) {
        if (!acceptsFile(scan.fileExtensions, shown) || !filter.keeps(shown)) return false;
        noteAttributes(shown, listed);
        return true;
      });
  pruneEmptyGroups(sources);
  walkGroups(sources, [&](const FileGroup& group) {
    for (const auto& file : group.files) ++found.languages[static_cast<int>(languageOf(file))];
  }, [](const FileGroup&) {});
  root.sourceFolder = context.projectFolder;
  root.files.insert(root.files.end(), sources.files.begin(), sources.files.end());
  root.subGroups.insert(root.subGroups.begin(), std::make_move_iterator(sources.subGroups.begin()),
                        std::make_move_iterator(sources.subGroups.end()));
  return found;
}
