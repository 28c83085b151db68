#include "finder/SteamLibraries.h"

#include <algorithm>
#include <cstdint>

#include "finder/FolderWalk.h"
#include "platform/FileSystem.h"
#include "platform/Path.h"
#include "platform/ReadOnlyFile.h"

namespace wendmoor {

namespace {

// The list is a few hundred bytes; a larger file is read only this far.
constexpr std::size_t kMaxVdfBytes = 1 << 20;

struct Token {
    enum class Kind { String, Open, Close } kind;
    std::string text;
};

// The file's tokens: quoted strings (escapes undone), "{" and "}". Comments ("//" to the end
// of the line) and bare words are skipped; an unterminated string ends the tokens.
std::vector<Token> Tokens(std::string_view vdf) {
    std::vector<Token> tokens;
    std::size_t at = 0;
    while (at < vdf.size()) {
        const char c = vdf[at];
        if (c == '{' || c == '}') {
            tokens.push_back({c == '{' ? Token::Kind::Open : Token::Kind::Close, {}});
            ++at;
        } else if (c == '/' && at + 1 < vdf.size() && vdf[at + 1] == '/') {
            while (at < vdf.size() && vdf[at] != '\n') ++at;
        } else if (c == '"') {
            std::string text;
            ++at;
            while (at < vdf.size() && vdf[at] != '"') {
                if (vdf[at] == '\\' && at + 1 < vdf.size()) ++at;
                text += vdf[at++];
            }
            if (at >= vdf.size()) break;  // unterminated
            ++at;
            tokens.push_back({Token::Kind::String, std::move(text)});
        } else {
            ++at;
        }
    }
    return tokens;
}

bool IsNumber(const std::string& text) {
    if (text.empty()) return false;
    for (const char c : text) {
        if (c < '0' || c > '9') return false;
    }
    return true;
}

// Through the platform's read-only file: a FIFO or device planted at the path is refused at
// once instead of hanging the search, and on Windows the name reaches the system as UTF-16.
std::string ReadSmallFile(const std::string& path) {
    ReadOnlyFile file;
    if (!file.Open(path).Ok()) return {};
    std::string text(static_cast<std::size_t>(std::min<std::uint64_t>(file.Size(), kMaxVdfBytes)),
                     '\0');
    std::size_t got = 0;
    if (!file.ReadAt(0, text.data(), text.size(), got).Ok()) return {};
    text.resize(got);
    return text;
}

}  // namespace

std::vector<std::string> ParseLibraryFolders(std::string_view vdf) {
    const std::vector<Token> tokens = Tokens(vdf);
    std::vector<std::string> folders;
    int depth = 0;
    for (std::size_t i = 0; i < tokens.size(); ++i) {
        const Token& token = tokens[i];
        if (token.kind == Token::Kind::Open) {
            ++depth;
            continue;
        }
        if (token.kind == Token::Kind::Close) {
            --depth;
            continue;
        }
        const bool valueFollows =
            i + 1 < tokens.size() && tokens[i + 1].kind == Token::Kind::String;
        if (!valueFollows) continue;
        const std::string& value = tokens[i + 1].text;
        // Today: "libraryfolders" { "0" { "path" "/x" ... } }. Before: "LibraryFolders"
        // { "1" "/x" }, beside other numbered-looking keys only at that one level.
        if ((depth == 2 && token.text == "path") || (depth == 1 && IsNumber(token.text))) {
            if (!value.empty()) folders.push_back(value);
        }
        ++i;  // the value is no key
    }
    return folders;
}

std::vector<std::string> SteamLibraryFolders(const std::string& steamRoot) {
    if (!FolderWalk::IsFolder(steamRoot)) return {};
    std::vector<std::string> libraries = {steamRoot};
    const FileSystem fileSystem;
    const std::string vdf = fileSystem.Resolve(steamRoot + "steamapps/libraryfolders.vdf");
    for (std::string folder : ParseLibraryFolders(ReadSmallFile(vdf))) {
        // A relative folder would be looked for wherever this process happens to stand.
        if (folder.front() != kPathSeparator) continue;
        if (folder.back() != kPathSeparator) folder += kPathSeparator;
        libraries.push_back(std::move(folder));
    }
    return libraries;
}

}  // namespace wendmoor
