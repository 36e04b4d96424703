#include "building/own_sources.h"

#include <iterator>

#include "building/build_targets.h"
#include "building/linked_sources.h"
#include "model/source_language.h"
#include "text/path.h"

OwnSourcesFound addOwnSources(const OwnSources& own, FileGroup& root) {
  // The project's own folder, like a sub-project, without its build
  // output, folders named like a build spec, .metadata and sub-project
  // folders.
  std::set<std::string> excluded = own.excludedFolders;
  for (const auto& folder : own.facts.outputFolders) {
    excluded.insert(path::comparable(path::join(own.projectFolder, folder.value), own.currentDirectory));
  }
  const std::set<std::string> specNames(own.specNames.begin(), own.specNames.end());
  FolderScan scan = own.scan;
  scan.noteFolders = true;
  scan.skipFolder = [&](const std::string& folder) {
    const std::string_view name = path::fileName(folder);
    return name == ".metadata" || name == ".settings" || specNames.count(std::string(name)) > 0 ||
           excluded.count(path::comparable(folder, own.currentDirectory)) > 0;
  };
  FileGroup sources;
  sources.sourceFolder = own.projectFolder;
  scan.scan(own.projectFolder, sources, true);

  const TargetFilter filter(own.facts.targets, own.target, own.projectName);
  const std::size_t base = own.projectFolder.size() + 1;
  walkGroups(sources, [&](FileGroup& group) {
    std::erase_if(group.files, [&](const std::string& file) {
      return !filter.keeps(std::string_view(file).substr(base));
    });
  }, [](FileGroup&) {});
  // Linked files are judged by the names the project shows them under.
  OwnSourcesFound found;
  found.targetLoops = filter.loops();
  found.missingLinks = addLinkedSources(
      sources, own.links, own.linkContext, scan, [&](std::string_view shown) {
        return acceptsFile(own.scan.fileExtensions, shown) && filter.keeps(shown);
      });
  walkGroups(sources, [&](const FileGroup& group) {
    for (const auto& file : group.files) ++found.languages[static_cast<int>(languageOf(file))];
  }, [](FileGroup& group) {
    std::erase_if(group.subGroups, [](const std::unique_ptr<FileGroup>& sub) {
      return sub->files.empty() && sub->subGroups.empty();
    });
  });
  root.sourceFolder = own.projectFolder;
  root.files.insert(root.files.end(), sources.files.begin(), sources.files.end());
  root.subGroups.insert(root.subGroups.begin(), std::make_move_iterator(sources.subGroups.begin()),
                        std::make_move_iterator(sources.subGroups.end()));
  return found;
}
