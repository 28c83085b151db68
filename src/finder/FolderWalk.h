#pragma once

#include <cstddef>
#include <cstdint>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace wendmoor {

// A bounded look at folders for the finder. A folder is listed at most once however many paths
// or symbolic links lead to it, so a link loop ends the walk instead of trapping it; a listing
// takes at most kMaxEntries names and the whole walk at most `maxListings` folders; a folder
// that cannot be read is an empty answer, never an error. Whether a bound cut the walk short
// is remembered, so the player can be told.
class FolderWalk {
  public:
    static constexpr std::size_t kMaxEntries = 20000;
    static constexpr std::size_t kMaxListings = 20000;

    explicit FolderWalk(std::size_t maxListings = kMaxListings) : maxListings_(maxListings) {}

    // The names in a folder, each sorted, sub-folders and regular files apart; a symbolic link
    // counts as what it points to, a dangling one as nothing.
    struct Listing {
        std::vector<std::string> folders;
        std::vector<std::string> files;
    };

    // Lists the folder unless it was listed once already (under any path). False when it was,
    // when it cannot be read, or when the walk's budget is spent.
    bool ListOnce(const std::string& folder, Listing& listing);
    // Lists the folder without remembering it, for folders that only hold the places to look
    // at (the bottles, the Lutris games), which a later step may look at as a place itself.
    bool List(const std::string& folder, Listing& listing);

    static bool IsFolder(const std::string& path);

    std::size_t ListingsMade() const { return listings_; }
    std::size_t ListingsLeft() const { return maxListings_ - listings_; }
    // A listing was refused for the walk's budget, or cut at kMaxEntries names.
    bool StoppedEarly() const { return stoppedEarly_; }
    void NoteStoppedEarly() { stoppedEarly_ = true; }

  private:
    std::set<std::pair<std::uint64_t, std::uint64_t>> seen_;  // (device, file number)
    std::size_t maxListings_;
    std::size_t listings_ = 0;
    bool stoppedEarly_ = false;
};

}  // namespace wendmoor
