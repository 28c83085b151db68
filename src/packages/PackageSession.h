#pragma once

#include <functional>
#include <string>

#include "packages/FileRefCounts.h"
#include "packages/GameEnvironment.h"

namespace wendmoor {

struct GamePaths;
class FileSystem;

// The state and flow the window and the command-line tool share: the selected game, its two
// package lists, the content lines and the reference counts, all rebuilt from the disk by
// every selection. The lists are kept in the order the user sees (ListLess).
class PackageSession {
  public:
    // `askForFolders` runs when a game's required folders are incomplete; the window opens its
    // options dialog there. It may change `paths`.
    PackageSession(GamePaths& paths, FileSystem& fileSystem, std::function<void()> askForFolders);

    int CurrentGame() const { return currentGame_; }
    const PackageLists& Lists() const { return lists_; }
    const ContentLines& Content() const { return content_; }
    const FileRefCounts& FileRefs() const { return fileRefs_; }

    // Empties the lists and the counts, asks for folders once when one of the game's required
    // folders is empty, then scans the game or leaves its message as the only content line.
    // True when the game is selected.
    bool SelectGame(int game);

    void ClearContent() { content_.clear(); }

    // The content lines of a package of the current game; empty when it is no package.
    void ShowPackageContent(const std::string& packageName);

    enum class CommandResult { NoGame, Refused, Done };
    // Installs or deinstalls a package of the current game, then selects the game anew.
    // Refused (nothing changed, no refresh) when the archive is no package (any more).
    CommandResult RunPackageCommand(const std::string& packageName, bool install);
    // The same without the refresh, for a caller that shows the refresh on its own (the
    // window runs it under the wait cursor). After Done the caller must select the game anew.
    CommandResult ApplyPackageCommand(const std::string& packageName, bool install);

    // The archive of a listed package: the missions folder followed by the exact file name.
    std::string ArchivePathOf(const std::string& packageName) const;

  private:
    GamePaths& paths_;
    FileSystem& fileSystem_;
    std::function<void()> askForFolders_;
    FileRefCounts fileRefs_;
    int currentGame_ = 0;
    PackageLists lists_;
    ContentLines content_;
};

}  // namespace wendmoor
