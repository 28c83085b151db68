#pragma once

#include <cstdint>
#include <string>

#include "settings/GamePaths.h"

namespace wendmoor::bench {

// The folders of every game below one root, all four games sharing one missions folder.
// Folders that differ from the games' own spelling only in letter case ("MAPS") make the
// lookups resolve case-blindly, as on a disk copied from a Windows install.
GamePaths CollectionPaths(const std::string& root);

// Creates the folders of CollectionPaths(root).
bool MakeCollectionFolders(const std::string& root);

// Fills the missions folder with `count` small packages that each game takes as its own (an
// adventure/campaign ".pak" with its ".txt", a map and a save), and installs every second one
// for every game through the games' own install routines. Some installed maps are renamed to
// another letter case afterwards, so the scan finds them only case-blindly.
bool BuildPackageCollection(const std::string& root, int count);

// A Caesar III package of `entries` tiny maps, named `name` in the missions folder.
bool WriteManyEntryPackage(const std::string& root, const std::string& name, int entries);

// A Caesar III package of maps holding about `megabytes` MB of text-like data (it deflates to
// about a third, much as mission files do). Returns the uncompressed byte count, 0 on failure.
std::uint64_t WriteLargePackage(const std::string& root, const std::string& name, int megabytes);

// A fresh tree of game folders at `root` whose missions folder holds `archive` as `name` (a
// hard link, or a copy where that fails): installs go into folders that never held files.
bool FreshInstallTree(const std::string& root, const std::string& archive, const std::string& name);

// Removes a folder and everything in it.
void RemoveTree(const std::string& path);

}  // namespace wendmoor::bench
