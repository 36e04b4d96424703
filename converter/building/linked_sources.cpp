#include "building/linked_sources.h"

#include <algorithm>
#include <map>
#include <optional>

#include "text/path.h"

namespace {

constexpr char sep = path::separator();

std::vector<std::string> partsOf(std::string_view name) {
  std::vector<std::string> parts;
  std::size_t start = 0;
  while (start <= name.size()) {
    const std::size_t end = std::min(name.find_first_of("/\\", start), name.size());
    if (end > start) parts.emplace_back(name.substr(start, end - start));
    start = end + 1;
  }
  return parts;
}

// A link name must stay inside the project: no "." or ".." parts.
bool isPlaceable(const std::vector<std::string>& parts) {
  return !parts.empty() && std::none_of(parts.begin(), parts.end(), [](const std::string& part) {
    return part == "." || part == ".." || part.find_first_of("\r\n") != std::string::npos;
  });
}

std::string joined(const std::vector<std::string>& parts, std::size_t count) {
  std::string text;
  for (std::size_t i = 0; i < count; ++i) text += (i ? "/" : "") + parts[i];
  return text;
}

// The group `count` parts down from `top`, made where missing (and noted in
// `made`); a new group's folder is its parent's and its name.
FileGroup& groupAt(FileGroup& top, const std::vector<std::string>& parts, std::size_t count,
                   std::vector<FileGroup*>& made) {
  FileGroup* group = &top;
  for (std::size_t i = 0; i < count; ++i) {
    auto found = std::find_if(group->subGroups.begin(), group->subGroups.end(),
                              [&](const auto& sub) { return sub->name == parts[i]; });
    if (found == group->subGroups.end()) {
      auto child = std::make_unique<FileGroup>(parts[i]);
      child->sourceFolder = group->sourceFolder + sep + parts[i];
      group->subGroups.push_back(std::move(child));
      made.push_back(group->subGroups.back().get());
      found = group->subGroups.end() - 1;
    }
    group = found->get();
  }
  return *group;
}

// What lies at a path, from its folder's listing; each folder listed once.
class Entries {
 public:
  explicit Entries(const FolderLister& lister) : lister(lister) {}

  std::optional<EntryKind> at(const std::string& path) {
    const std::size_t cut = path.find_last_of("/\\");
    if (cut == std::string::npos) return std::nullopt;
    // The root's own folder keeps its separator: "/", "C:\\".
    const bool isRoot = cut == 0 || (cut == 2 && path[1] == ':');
    const std::string folder = path.substr(0, isRoot ? cut + 1 : cut);
    auto listed = folders.find(folder);
    if (listed == folders.end()) {
      std::vector<ListedEntry> entries;
      if (!lister(folder, entries)) entries.clear();
      listed = folders.emplace(folder, std::move(entries)).first;
    }
    const std::string_view name = std::string_view(path).substr(cut + 1);
    for (const auto& entry : listed->second) {
      if (entry.name == name) return entry.kind;
    }
    return std::nullopt;
  }

 private:
  const FolderLister& lister;
  std::map<std::string, std::vector<ListedEntry>> folders;
};

// Keeps the files below `group` that `keeps` takes by the path the project
// shows them under (`shown` for the group's folder `folder`).
void filterShown(FileGroup& group, const std::string& folder, const std::string& shown,
                 const LinkedFileFilter& keeps) {
  walkGroups(
      group,
      [&](FileGroup& one) {
        std::erase_if(one.files, [&](const std::string& file) {
          std::string path = shown + "/" + file.substr(folder.size() + 1);
          std::replace(path.begin(), path.end(), '\\', '/');
          return !keeps(path);
        });
      },
      [](FileGroup& one) {
        std::erase_if(one.subGroups, [](const std::unique_ptr<FileGroup>& sub) {
          return sub->files.empty() && sub->subGroups.empty();
        });
      });
}

}  // namespace

std::vector<std::string> addLinkedSources(FileGroup& own, const ProjectLinks& links,
                                          const LinkContext& context, const FolderScan& scan,
                                          const LinkedFileFilter& keeps) {
  // Shorter names first, so that a link inside a linked or virtual folder
  // finds that folder's group.
  std::vector<const LinkedResource*> order;
  for (const auto& link : links.links) order.push_back(&link);
  std::stable_sort(order.begin(), order.end(), [](const auto* a, const auto* b) {
    return partsOf(a->name).size() < partsOf(b->name).size();
  });
  FolderScan folderScan = scan;
  folderScan.fileExtensions.clear();  // judged by the shown path instead
  folderScan.noteFolders = true;
  Entries entries(scan.lister);
  std::vector<std::string> missing;
  std::vector<FileGroup*> made;  // groups made for links, not yet known to have a folder
  for (const LinkedResource* link : order) {
    const std::vector<std::string> parts = partsOf(link->name);
    const LinkLocation where = resolveLinkLocation(*link, context);
    if (!isPlaceable(parts) || where.kind == LinkLocation::Unknown) {
      missing.push_back(link->name);
      continue;
    }
    if (where.kind == LinkLocation::Virtual) {
      if (link->folder) groupAt(own, parts, parts.size(), made);
      continue;
    }
    // The run's own outputs are never sources, however they are named.
    const std::size_t cut = where.path.find_last_of("/\\");
    if (cut != std::string::npos &&
        scan.passOver.holds(where.path.substr(0, cut), where.path.substr(cut + 1))) {
      continue;
    }
    const auto kind = entries.at(where.path);
    const bool found = link->folder ? kind == EntryKind::Folder || kind == EntryKind::FolderLink
                                    : kind == EntryKind::File;
    if (!found) {
      missing.push_back(link->name);
      continue;
    }
    const std::string shown = joined(parts, parts.size());
    if (!link->folder) {
      if (keeps(shown)) groupAt(own, parts, parts.size() - 1, made).files.push_back(where.path);
      continue;
    }
    FileGroup scanned;
    folderScan.scan(where.path, scanned, true);
    filterShown(scanned, where.path, shown, keeps);
    FileGroup& group = groupAt(own, parts, parts.size(), made);
    group.sourceFolder = where.path;
    std::erase(made, &group);  // it has a folder of its own
    group.files.insert(group.files.end(), scanned.files.begin(), scanned.files.end());
    std::move(scanned.subGroups.begin(), scanned.subGroups.end(),
              std::back_inserter(group.subGroups));
  }
  // A group that only links make (a virtual folder, or src/x.c where the
  // project has no src) names the folder its first file lies in, where it
  // has one: the project folder has none of that name.
  for (FileGroup* group : made) {
    const auto kind = entries.at(group->sourceFolder);
    if (kind == EntryKind::Folder || kind == EntryKind::FolderLink || group->files.empty()) continue;
    const std::string& first = group->files.front();
    group->sourceFolder = first.substr(0, first.find_last_of("/\\"));
  }
  return missing;
}
