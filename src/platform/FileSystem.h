#pragma once

#include <string>
#include <unordered_map>
#include <vector>

namespace wendmoor {

// The file operations of the package layer. The game folders come from Windows installs,
// where letter case does not matter; here they may lie on a file system that respects it.
// Every operation therefore resolves each component of its path without regard to letter
// case, preferring an exact match, so "MAPS/rome.MAP" on disk is found, overwritten in place
// and deleted when "Maps/Rome.map" is asked for.
//
// What a lookup learns of a folder's names is kept, and kept true by the writes made through
// this object, until ForgetListings(); so a refresh or an install that touches thousands of
// files in one folder lists that folder once.
class FileSystem {
  public:
    struct FolderEntry {
        std::string name;
        bool isFolder = false;
    };

    // The path as it lies on disk: each component that exists under another letter case is
    // replaced by its spelling on disk; the first component that exists under no spelling,
    // and all after it, are kept as given.
    std::string Resolve(const std::string& path) const;

    // A readable regular file. Folders and anything that cannot be read count as absent.
    bool FileExists(const std::string& path) const;
    bool FolderExists(const std::string& path) const;

    // Deletes one file (never a folder).
    bool DeleteFile(const std::string& path);
    // Creates one folder whose parent exists; false when it exists already.
    bool CreateFolder(const std::string& path);
    // Removes a folder only when it is empty.
    bool RemoveFolder(const std::string& path);

    // The names in a folder, without "." and "..", in no particular order. False when the
    // folder cannot be read.
    bool ListFolder(const std::string& path, std::vector<FolderEntry>& entries) const;

    // Makes the folder the process's current folder.
    bool EnterFolder(const std::string& path);

    // Drops everything learned of the folders, for example at the start of a refresh, when
    // another program may have changed them.
    void ForgetListings();

  private:
    friend class FileReplacement;

    // Keep what is known of a folder true after our own writes, without listing it again.
    void NoteAdded(const std::string& resolvedPath);
    void NoteRemoved(const std::string& resolvedPath);

    struct Listing {
        bool readable = false;
        // lower-cased name -> spelling on disk; the smallest spelling wins when several exist
        std::unordered_map<std::string, std::string> byLowerName;
    };

    std::string ResolveFolder(const std::string& folder) const;
    const Listing& ListingOf(const std::string& resolvedFolder) const;

    mutable std::unordered_map<std::string, Listing> listings_;
    mutable std::unordered_map<std::string, std::string> resolvedFolders_;
};

// Writes a file so that its target only ever holds its old bytes or the complete new ones:
// the bytes go to a temporary file beside the target, which replaces the target only when
// every write, the flush and the close succeeded. Destroyed without Commit(), or after a
// failed one, it removes the temporary file and the target stays as it was.
class FileReplacement {
  public:
    FileReplacement(FileSystem& fileSystem, const std::string& target);
    ~FileReplacement();
    FileReplacement(const FileReplacement&) = delete;
    FileReplacement& operator=(const FileReplacement&) = delete;

    bool IsOpen() const { return fd_ >= 0; }
    bool Write(const void* data, std::size_t size);
    bool Commit();

  private:
    void Discard();

    FileSystem& fileSystem_;
    std::string target_;
    std::string temporary_;
    int fd_ = -1;
    bool failed_ = false;
};

}  // namespace wendmoor
