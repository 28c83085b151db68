#include "finder/FinderPlaces.h"

#ifndef _WIN32
#include <pwd.h>
#include <unistd.h>
#endif

#include "platform/Path.h"
#include "platform/ProgramArguments.h"

namespace wendmoor {

namespace {

std::string AsFolder(std::string path) {
    if (!path.empty() && path.back() != kPathSeparator) path += kPathSeparator;
    return path;
}

// UTF-8 on Windows too, as the finder's walk takes its names.
std::string Variable(const char* name) {
    return EnvironmentVariable(name);
}

}  // namespace

FinderPlaces PlacesFromEnvironment() {
    FinderPlaces places;
#ifdef _WIN32
    places.home = AsFolder(Variable("USERPROFILE"));
    // A publisher's folder, then the game's, in the program folders. The uninstall entries of
    // the registry are not read yet.
    for (const char* variable : {"ProgramFiles", "ProgramFiles(x86)"}) {
        const std::string folder = AsFolder(Variable(variable));
        if (folder.empty()) continue;
        bool listed = false;  // both name the same folder on 32-bit Windows
        for (const auto& known : places.installFolders) listed = listed || known.folder == folder;
        if (!listed) places.installFolders.push_back({folder, 2});
    }
    for (const char* folder : {"C:\\GOG Games\\", "C:\\Sierra\\"}) {
        places.installFolders.push_back({folder, 1});
    }
#else
    places.home = Variable("HOME");
    if (places.home.empty()) {
        if (const passwd* user = ::getpwuid(::getuid()); user != nullptr && user->pw_dir) {
            places.home = user->pw_dir;
        }
    }
    places.home = AsFolder(places.home);
    places.winePrefix = AsFolder(Variable("WINEPREFIX"));
#endif
    return places;
}

std::string ShortForm(const std::string& folder, const FinderPlaces& places) {
    if (places.home.size() > 1 && folder.rfind(places.home, 0) == 0) {
        return "~" + std::string(1, kPathSeparator) + folder.substr(places.home.size());
    }
    return folder;
}

}  // namespace wendmoor
