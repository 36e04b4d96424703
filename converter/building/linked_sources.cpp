#include "building/linked_sources.h"

#include <algorithm>
#include <map>
#include <optional>
#include <unordered_map>

#include "building/link_locations.h"
#include "text/path.h"

namespace {

using Parts = std::vector<std::string_view>;

// A link name must stay inside the project: no "." or ".." parts.
bool isPlaceable(const Parts& parts) {
  return !parts.empty() && std::none_of(parts.begin(), parts.end(), [](std::string_view part) {
    return part == "." || part == ".." || part.find_first_of("\r\n") != std::string_view::npos;
  });
}

std::string joined(const Parts& parts) {
  std::string text;
  for (const auto part : parts) {
    if (!text.empty()) text += '/';
    text.append(part);
  }
  return text;
}

// The groups links add to, found by name through a table per group that
// has many (a project may link thousands of files and folders side by
// side), and by a look along the few of the others (a name thousands of
// folders deep makes as many groups of one sub-group each).
class GroupPlaces {
 public:
  // The group `count` parts down from `top`, made where missing. A group
  // made here is "made": its folder is its parent's and its name, worked out
  // only once it is known to keep files (see nameMadeFolders), since link names
  // may nest thousands of levels deep.
  FileGroup& at(FileGroup& top, const Parts& parts, std::size_t count) {
    FileGroup* group = &top;
    for (std::size_t i = 0; i < count; ++i) {
      FileGroup* found = child(*group, parts[i]);
      if (found == nullptr) {
        group->subGroups.push_back(std::make_unique<FileGroup>(std::string(parts[i])));
        found = group->subGroups.back().get();
        adopt(*group, group->subGroups.size() - 1);
        made.push_back(found);
      }
      group = found;
    }
    return *group;
  }

  // `group` has its own folder now.
  void hasFolder(FileGroup& group) { unmade.push_back(&group); }

  // Once every link is placed: which groups are made.
  void settle() {
    std::sort(made.begin(), made.end());
    std::sort(unmade.begin(), unmade.end());
    std::vector<const FileGroup*> still;
    std::set_difference(made.begin(), made.end(), unmade.begin(), unmade.end(),
                        std::back_inserter(still));
    made = std::move(still);
    unmade.clear();
  }

  // Sub-groups appended to `group` after it was looked at.
  void adopt(FileGroup& group, std::size_t from) {
    const auto known = index.find(&group);
    if (known == index.end()) return;
    for (std::size_t i = from; i < group.subGroups.size(); ++i) {
      known->second.emplace(group.subGroups[i]->name, group.subGroups[i].get());
    }
  }

  bool isMade(const FileGroup& group) const {
    return std::binary_search(made.begin(), made.end(), &group);
  }

 private:
  static constexpr std::size_t kIndexFrom = 16;  // sub-groups

  FileGroup* child(FileGroup& group, std::string_view name) {
    if (group.subGroups.size() < kIndexFrom) {
      for (const auto& sub : group.subGroups) {
        if (sub->name == name) return sub.get();
      }
      return nullptr;
    }
    auto [known, added] = index.try_emplace(&group);
    if (added) {
      // The first of a name wins, as the look along them finds it.
      for (const auto& sub : group.subGroups) known->second.emplace(sub->name, sub.get());
    }
    const auto found = known->second.find(name);
    return found == known->second.end() ? nullptr : found->second;
  }

  struct Hash : std::hash<std::string_view> {
    using is_transparent = void;
  };
  std::unordered_map<const FileGroup*,
                     std::unordered_map<std::string, FileGroup*, Hash, std::equal_to<>>>
      index;
  std::vector<const FileGroup*> made;    // sorted once settled
  std::vector<const FileGroup*> unmade;  // made, then given a folder
};

// What lies at a path, from its folder's listing; each folder listed once.
class Entries {
 public:
  explicit Entries(const FolderLister& lister) : lister(lister) {}

  std::optional<EntryKind> at(std::string_view path) {
    const std::size_t name = path::fileNameStart(path);
    if (name == 0) return std::nullopt;
    const Listing& listing = listingOf(path::parentFolder(path));
    // Thousands of links may point into one folder: its names are searched
    // in order rather than put into a table each.
    const auto entry =
        std::lower_bound(listing.begin(), listing.end(), path.substr(name), ByName());
    if (entry == listing.end() || entry->name != path.substr(name)) return std::nullopt;
    return entry->kind;
  }

 private:
  using Listing = std::vector<ListedEntry>;
  struct ByName {
    bool operator()(const ListedEntry& a, std::string_view b) const { return a.name < b; }
    bool operator()(const ListedEntry& a, const ListedEntry& b) const { return a.name < b.name; }
  };

  // Links side by side ask for one folder many times over: the last one
  // asked for is kept at hand.
  const Listing& listingOf(std::string_view folder) {
    if (last != nullptr && last->first == folder) return last->second;
    auto listed = folders.find(folder);
    if (listed == folders.end()) {
      const std::string named(folder);
      listed = folders.emplace(named, Listing()).first;
      Listing& entries = listed->second;
      if (!lister(named, entries)) entries.clear();
      // The system lister sorts by name already; the first of a name is the
      // one found.
      if (!std::is_sorted(entries.begin(), entries.end(), ByName())) {
        std::stable_sort(entries.begin(), entries.end(), ByName());
      }
    }
    last = &*listed;
    return listed->second;
  }

  const FolderLister& lister;
  std::map<std::string, Listing, std::less<>> folders;
  const std::pair<const std::string, Listing>* last = nullptr;
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
          return !keeps(path, file);
        });
      },
      [](FileGroup&) {});
  pruneEmptyGroups(group);
}

// Narrows `extent`, a folder, to the deepest folder that holds `folder`
// too: their leading parts in common, a root kept whole ("/", "C:\"); empty
// where they share not even a root (two drives).
void narrowTo(std::string& extent, std::string_view folder) {
  const auto endsPart = [](std::string_view text, std::size_t at) {
    return at == text.size() || path::isSeparator(text[at]) ||
           (at > 0 && path::isSeparator(text[at - 1]));
  };
  std::size_t same = 0;
  while (same < extent.size() && same < folder.size() && extent[same] == folder[same]) ++same;
  while (same > 0 && !(endsPart(extent, same) && endsPart(folder, same))) --same;
  extent.resize(same);
  if (!extent.empty() && path::isSeparator(extent.back()) && path::parentFolder(extent) != extent) {
    extent.pop_back();
  }
}

// Whether `folder` is the root of a file system ("/", "C:\", a server's
// "\\host"), or none at all.
bool isRootOrNone(std::string_view folder) {
  if (folder.empty() || path::fileNameStart(folder) == folder.size()) return true;
  return folder.size() > 1 && path::isSeparator(folder[0]) && path::isSeparator(folder[1]) &&
         path::parts(folder).size() < 2;
}

// Gives each made group that keeps files somewhere below it its folder: its
// parent's and its name where the project has such a folder; else, where
// the group holds files of its own (a virtual folder, or src/x.c where the
// project has no src), the folder its first file lies in; else (only groups
// below it hold files) the deepest folder all files below it lie in, or,
// where that is a file system's root or none, the folder of the nearest group
// above with a folder of its own (the project folder, a linked folder). One
// path is built up and cut back on the way through the tree, so a chain of
// made groups thousands deep that keeps nothing costs no path per level.
void nameMadeFolders(FileGroup& own, const GroupPlaces& places, Entries& entries) {
  std::string folder;
  std::vector<std::string> outer;  // the paths set aside under groups with a folder of their own
  std::vector<const std::string*> real;  // the folder of the nearest such group, per one open
  // Per open group: the deepest folder every file below it lies in (none:
  // no file), worked out only inside made groups, the only ones that ask.
  std::vector<std::optional<std::string>> extents{std::nullopt};
  std::size_t madeOpen = 0;
  walkGroups(
      own,
      [&](FileGroup& group) {
        if (places.isMade(group)) {
          ++madeOpen;
          path::append(folder, group.name);
        } else {
          outer.push_back(std::move(folder));
          folder = group.sourceFolder;
          real.push_back(real.empty() || !group.sourceFolder.empty() ? &group.sourceFolder
                                                                     : real.back());
        }
        std::optional<std::string> extent;
        if (madeOpen > 0) {
          for (const auto& file : group.files) {
            const std::string_view in = path::parentFolder(file);
            if (extent) narrowTo(*extent, in);
            else extent.emplace(in);
          }
        }
        extents.push_back(std::move(extent));
      },
      [&](FileGroup& group) {
        std::optional<std::string> below = std::move(extents.back());
        extents.pop_back();
        const bool made = places.isMade(group);
        if (below && madeOpen > (made ? 1u : 0u)) {
          std::optional<std::string>& parent = extents.back();
          if (parent) narrowTo(*parent, *below);
          else parent = *below;
        }
        if (!made) {
          folder = std::move(outer.back());
          outer.pop_back();
          real.pop_back();
          return;
        }
        --madeOpen;
        if (below) {
          const auto kind = entries.at(folder);
          if (kind == EntryKind::Folder || kind == EntryKind::FolderLink) {
            group.sourceFolder = folder;
          } else if (!group.files.empty()) {
            group.sourceFolder = path::parentFolder(group.files.front());
          } else if (!isRootOrNone(*below)) {
            group.sourceFolder = std::move(*below);
          } else {
            group.sourceFolder = *real.back();
          }
        }
        folder.resize(folder.size() - group.name.size() - 1);
      });
}

}  // namespace

std::vector<std::string> addLinkedSources(
    FileGroup& own, const RealProjectContext& context, LinkResolver& resolver,
    const FolderScan& scan, const std::function<bool(const std::string& folder)>& skipFolder,
    const LinkedFileFilter& keeps) {
  const ProjectLinks& links = context.links;
  // Shorter names first, so that a link inside a linked or virtual folder
  // finds that folder's group.
  std::vector<Parts> partsOf;
  partsOf.reserve(links.links.size());
  std::vector<std::pair<std::size_t, std::size_t>> order;  // parts, link
  for (const auto& link : links.links) {
    partsOf.push_back(path::parts(link.name));
    order.emplace_back(partsOf.back().size(), order.size());
  }
  std::stable_sort(order.begin(), order.end(),
                   [](const auto& a, const auto& b) { return a.first < b.first; });
  // Files are judged by the path shown, not by the extension they lie under.
  const ScanLimits limits{skipFolder, true};
  Entries entries(scan.lister);
  std::vector<std::string> missing;
  GroupPlaces places;
  for (const auto& [count, index] : order) {
    const Parts& parts = partsOf[index];
    const LinkedResource* link = &links.links[index];
    LinkLocation where = resolver.resolve(*link);
    if (!isPlaceable(parts) || where.kind == LinkLocation::Unknown) {
      missing.push_back(link->name);
      continue;
    }
    if (where.kind == LinkLocation::Virtual) {
      if (link->folder) places.at(own, parts, parts.size());
      continue;
    }
    // The run's own outputs are never sources, however they are named.
    const std::size_t name = path::fileNameStart(where.path);
    if (name != 0 && scan.passOver.holds(path::parentFolder(where.path),
                                          std::string_view(where.path).substr(name))) {
      continue;
    }
    const auto kind = entries.at(where.path);
    const bool found = link->folder ? kind == EntryKind::Folder || kind == EntryKind::FolderLink
                                    : kind == EntryKind::File;
    if (!found) {
      missing.push_back(link->name);
      continue;
    }
    const std::string shown = joined(parts);
    if (!link->folder) {
      if (keeps(shown, where.path)) {
        places.at(own, parts, parts.size() - 1).files.push_back(std::move(where.path));
      }
      continue;
    }
    FileGroup scanned;
    scan.scan(where.path, scanned, true, limits);
    filterShown(scanned, where.path, shown, keeps);
    FileGroup& group = places.at(own, parts, parts.size());
    group.sourceFolder = where.path;
    places.hasFolder(group);
    group.files.insert(group.files.end(), scanned.files.begin(), scanned.files.end());
    const std::size_t before = group.subGroups.size();
    std::move(scanned.subGroups.begin(), scanned.subGroups.end(),
              std::back_inserter(group.subGroups));
    places.adopt(group, before);
  }
  places.settle();
  nameMadeFolders(own, places, entries);
  return missing;
}
