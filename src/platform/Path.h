#pragma once

#include <string>
#include <string_view>

namespace wendmoor {

// Paths are plain bytes in the platform's narrow encoding; nothing here decodes them, so a
// file name that is not valid text survives every step unchanged.
#ifdef _WIN32
inline constexpr char kPathSeparator = '\\';
#else
inline constexpr char kPathSeparator = '/';
#endif

// A sub-folder literal as the game folders use it, with the trailing separator ("Maps/").
std::string SubFolder(std::string_view name);

// The last component of a path; a trailing separator is ignored.
std::string FileNameOf(std::string_view path);

// The folder part of a path, with its trailing separator; empty when there is none.
std::string FolderOf(std::string_view path);

// A path that names the same place whatever the current folder is: "/..." here; on Windows a
// drive with its root ("C:\\", "C:/") or a network share ("\\\\server\\share").
bool IsAbsolutePath(std::string_view path);

// ASCII-only lower-casing: A to Z become a to z, every other byte stays as it is, so the
// result never depends on the locale.
inline char AsciiLower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}
std::string AsciiLower(std::string_view text);

}  // namespace wendmoor
