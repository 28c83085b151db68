#pragma once

#include <string>
#include <vector>

namespace wendmoor {

// Where the finder looks: the home folder every usual place hangs from, the Wine prefix the
// environment names, and on Windows the folders games are installed in. Tests pass places made
// in a temporary folder, so nothing ever walks the real ones.
struct FinderPlaces {
    // A folder games are installed in, searched `depth` levels below it.
    struct InstallFolder {
        std::string folder;  // with its trailing separator
        int depth = 1;
    };

    std::string home;        // with its trailing separator; empty: no place below a home
    std::string winePrefix;  // $WINEPREFIX, with its trailing separator; empty when unset
    std::vector<InstallFolder> installFolders;
};

// The places of this process: $HOME (or the user's entry in the password database) and
// $WINEPREFIX; on Windows %USERPROFILE% and the install folders (%ProgramFiles%,
// %ProgramFiles(x86)% and the usual folders of the download shops on drive C:).
FinderPlaces PlacesFromEnvironment();

// The folder with "~/" in place of the home, for showing it; other folders unchanged.
std::string ShortForm(const std::string& folder, const FinderPlaces& places);

}  // namespace wendmoor
