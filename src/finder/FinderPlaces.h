#pragma once

#include <string>

namespace wendmoor {

// Where the finder looks: the home folder every usual place hangs from, and the Wine prefix
// the environment names. Tests pass a home made in a temporary folder, so nothing ever walks
// the real one.
struct FinderPlaces {
    std::string home;        // with its trailing separator; empty: no place below a home
    std::string winePrefix;  // $WINEPREFIX, with its trailing separator; empty when unset
};

// The places of this process: $HOME (or the user's entry in the password database) and
// $WINEPREFIX.
FinderPlaces PlacesFromEnvironment();

// The folder with "~/" in place of the home, for showing it; other folders unchanged.
std::string ShortForm(const std::string& folder, const FinderPlaces& places);

}  // namespace wendmoor
