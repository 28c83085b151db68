#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "platform/Outcome.h"

namespace wendmoor {

// Every temporary file of ours starts with this, so a later command can tell the ones a killed
// process left behind from the player's files.
inline constexpr const char* kTemporaryPrefix = ".wendmoor-";

class FileReplacement;

// The file operations of the package layer. The game folders come from Windows installs,
// where letter case does not matter; here they may lie on a file system that respects it.
// Every operation therefore resolves each component of its path without regard to letter
// case, preferring an exact match, so "MAPS/rome.MAP" on disk is found, overwritten in place
// and deleted when "Maps/Rome.map" is asked for.
//
// What a lookup learns of a folder is kept, and kept true by the writes made through this
// object, until ForgetListings(). A folder is listed once, the first time a name is missing
// from it under the spelling asked for; from then on a name that is not in the listing is
// absent without asking the disk, and a name that is costs one fstatat relative to the open
// folder. So a refresh or an install that touches thousands of files in one folder lists that
// folder once, and a folder whose names are all found as asked is never listed.
//
// The const operations may run on several threads at once; the others must not run while any
// operation does.
class FileSystem {
  public:
    struct FolderEntry {
        std::string name;
        bool isFolder = false;
    };

    FileSystem();
    ~FileSystem();
    FileSystem(const FileSystem&) = delete;
    FileSystem& operator=(const FileSystem&) = delete;

    // The path as it lies on disk: each component that exists under another letter case is
    // replaced by its spelling on disk; the first component that exists under no spelling,
    // and all after it, are kept as given.
    std::string Resolve(const std::string& path) const;

    // A readable regular file. Folders and anything that cannot be read count as absent.
    bool FileExists(const std::string& path) const;
    bool FolderExists(const std::string& path) const;

    // A symbolic link, whatever it points to (or whether it points anywhere).
    bool IsSymbolicLink(const std::string& path) const;
    // Anything at all under that name, in any letter case: a file, a folder, a link that
    // points nowhere.
    bool Exists(const std::string& path) const;

    // Deletes one file (never a folder). A file that is not there is no failure.
    Outcome DeleteFile(const std::string& path);
    // Who may look into a folder this layer makes. Owner-only folders hold copies of the
    // player's files (the backups); on Windows the user's profile keeps them private already.
    enum class FolderAccess { kEveryone, kOwnerOnly };

    // Creates one folder whose parent exists. A folder that exists already is no failure;
    // `created` tells whether this call made it.
    Outcome CreateFolder(const std::string& path, bool* created = nullptr,
                         FolderAccess access = FolderAccess::kEveryone);
    // Removes a folder only when it is empty; one that still holds files stays, and that is no
    // failure either.
    Outcome RemoveFolder(const std::string& path);
    // Gives a folder another name in the same parent, by one step that others see whole.
    // What was learned of the folders is forgotten.
    Outcome RenameFolder(const std::string& from, const std::string& to);

    // Removes the temporary files of ours in a folder that a process killed mid-command left
    // behind: regular files whose name has the exact form we make and whose maker is gone (see
    // IsStaleTemporaryName). Call it while holding the exclusive PackageLock.
    Outcome RemoveStaleTemporaryFiles(const std::string& folder);
    // Makes the folder's changed names (renames, deletions) durable.
    Outcome SyncFolder(const std::string& folder);
    // Makes everything written to the file systems that hold these folders durable: one sync
    // per file system, for the files a command finished with FileReplacement::DeferSync().
    Outcome SyncFileSystemsOf(const std::vector<std::string>& folders);

    // The names in a folder, without "." and "..", in no particular order. Fails with the
    // system's reason when the folder cannot be opened or a read of it fails part way, so a
    // listing cut short never passes for a whole one.
    Outcome ListFolder(const std::string& path, std::vector<FolderEntry>& entries) const;

    // Drops everything learned of the folders, for example at the start of a refresh, when
    // another program may have changed them.
    void ForgetListings();

  private:
    friend class FileReplacement;

    // What this system's layer knows of the folders, and how it asks the system: one
    // implementation per system (FileSystem.cpp, windows/FileSystemWindows.cpp).
    class Impl;
    std::unique_ptr<Impl> impl_;
};

// Writes a file so that its target only ever holds its old bytes or the complete new ones:
// the bytes go to a temporary file beside the target; Finish() flushes it to the disk and
// closes it, and Commit() renames it over the target. A command finishes all its files first
// and commits them afterwards, so a power cut finds every target old or new, never empty.
// Destroyed without a successful Commit(), it removes the temporary file and the target stays
// as it was.
class FileReplacement {
  public:
    FileReplacement(FileSystem& fileSystem, const std::string& target);
    ~FileReplacement();
    FileReplacement(const FileReplacement&) = delete;
    FileReplacement& operator=(const FileReplacement&) = delete;

    // Why the temporary file could not be made (the target is a folder, cannot be written,
    // its folder is missing ...); empty when it is open.
    const Outcome& OpenOutcome() const { return openOutcome_; }
    bool IsOpen() const { return fd_ >= 0; }
    // False when the bytes could not be written; Finish() then tells why.
    bool Write(const void* data, std::size_t size);
    // Finish() then only starts writing the bytes to the disk; the caller makes them durable
    // with FileSystem::SyncFileSystemsOf before it commits. A command that writes thousands of
    // files so waits for the disk once instead of once per file.
    void DeferSync() { deferSync_ = true; }
    Outcome Finish();
    // Finishes first when that was not done.
    Outcome Commit();

    // The target as it lies on disk.
    const std::string& Target() const { return target_; }

  private:
    void Discard();

    FileSystem& fileSystem_;
    std::string target_;
    std::string TemporaryPath() const;
    // The random part of the temporary file's name (see TemporaryFileName); empty when there is
    // none. Only this is kept, as an install holds thousands of replacements at once.
    char suffix_[7] = {};
    Outcome openOutcome_;
    int fd_ = -1;
    int writeError_ = 0;
    bool finished_ = false;
    bool deferSync_ = false;
};

}  // namespace wendmoor
