#include "platform/Path.h"

namespace wendmoor {

std::string SubFolder(std::string_view name) {
    std::string folder(name);
    folder += kPathSeparator;
    return folder;
}

std::string FileNameOf(std::string_view path) {
    while (!path.empty() && path.back() == kPathSeparator) path.remove_suffix(1);
    const auto cut = path.rfind(kPathSeparator);
    return std::string(cut == std::string_view::npos ? path : path.substr(cut + 1));
}

std::string FolderOf(std::string_view path) {
    const auto cut = path.rfind(kPathSeparator);
    return cut == std::string_view::npos ? std::string() : std::string(path.substr(0, cut + 1));
}

bool IsAbsolutePath(std::string_view path) {
#ifdef _WIN32
    // "C:games" and "\\games" depend on the current folder of the drive or the current drive.
    if (path.size() >= 3 && path[1] == ':' && (path[2] == '\\' || path[2] == '/')) return true;
    return path.starts_with("\\\\") || path.starts_with("//");
#else
    return path.starts_with('/');
#endif
}

std::string AsciiLower(std::string_view text) {
    std::string lowered(text);
    for (char& c : lowered) {
        c = AsciiLower(c);
    }
    return lowered;
}

}  // namespace wendmoor
