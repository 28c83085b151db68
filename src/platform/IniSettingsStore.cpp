#include <cstdlib>
#include <set>
#include <string_view>
#include <vector>

#include "platform/FileSystem.h"
#include "platform/IniLine.h"
#include "platform/IniValue.h"
#include "platform/Path.h"
#include "platform/ProgramArguments.h"
#include "platform/SettingsStore.h"
#include "platform/Utf8.h"
#include "platform/WholeFile.h"

namespace wendmoor {

namespace {

constexpr std::string_view kBom = "\xef\xbb\xbf";
constexpr std::size_t kNone = std::string_view::npos;

std::size_t BomSize(std::string_view data) {
    return data.substr(0, kBom.size()) == kBom ? kBom.size() : 0;
}

bool IsLineBreak(char c) {
    return c == '\n' || c == '\r';
}

std::string_view Trimmed(std::string_view text, std::string_view blanks) {
    const auto first = text.find_first_not_of(blanks);
    if (first == kNone) return {};
    return text.substr(first, text.find_last_not_of(blanks) - first + 1);
}

// One line of the file as Qt's INI reader delimits it, by offsets into the file: it starts at
// its first byte that is no white space and ends before the line break or the ";" outside
// double quotes that ends it; `equals` is its first "=" outside quotes, or kNone.
struct IniLineSpan {
    std::size_t start = 0;
    std::size_t end = 0;
    std::size_t equals = kNone;
};

// A ";" opening a line makes it a comment, and a backslash takes the next byte (a line break
// too, and the pair "\r\n" or "\n\r") with it.
template <typename Visit>
void ForEachIniLine(std::string_view data, Visit visit) {
    std::size_t at = BomSize(data);
    while (at < data.size()) {
        at = data.find_first_not_of(" \t\r\n", at);
        if (at == kNone) return;
        IniLineSpan line{at, at, kNone};
        if (data[at] == ';') {
            while (at < data.size() && !IsLineBreak(data[at])) ++at;
            continue;
        }
        bool quoted = false;
        for (; at < data.size(); ++at) {
            const char c = data[at];
            if (c == '\\') {
                const bool pair = at + 2 < data.size() && IsLineBreak(data[at + 1]) &&
                                  IsLineBreak(data[at + 2]) && data[at + 1] != data[at + 2];
                at += pair ? 2 : 1;
            } else if (c == '"') {
                quoted = !quoted;
            } else if (!quoted && c == '=' && line.equals == kNone) {
                line.equals = at;
            } else if (!quoted && (IsLineBreak(c) || c == ';')) {
                break;
            }
        }
        line.end = std::min(at, data.size());
        visit(line);
    }
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// A key as written stands for "/" with a backslash and for any character with %XX or %UXXXX.
std::string UnescapedKey(std::string_view key) {
    std::string out;
    for (std::size_t i = 0; i < key.size();) {
        if (key[i] == '\\') {
            out += '/';
            ++i;
            continue;
        }
        if (key[i] == '%' && i + 1 < key.size()) {
            const std::size_t first = key[i + 1] == 'U' ? i + 2 : i + 1;
            const std::size_t digits = key[i + 1] == 'U' ? 4 : 2;
            char32_t value = 0;
            bool ok = first + digits <= key.size();
            for (std::size_t d = 0; ok && d < digits; ++d) {
                const int digit = HexDigit(key[first + d]);
                ok = digit >= 0;
                value = value * 16 + static_cast<char32_t>(digit);
            }
            if (ok) {
                AppendUtf8(out, value);
                i = first + digits;
                continue;
            }
        }
        out += key[i++];
    }
    return out;
}

// Where the file's general section holds the named value: its lines (the last one counts),
// and the end of the section's last line, where a new value goes; kNone when the file has no
// general section. The general section is the one named "General" in any letter case, and the
// lines before the first section.
struct GeneralSection {
    std::vector<IniLineSpan> named;
    std::size_t lastLineEnd = kNone;
};

// Calls `visit(line, isGeneral)` for each line of the file, and `visit(line, name)` with the
// unescaped name for each value line of the general section.
template <typename Visit, typename VisitValue>
void ForEachGeneralLine(std::string_view data, Visit visitLine, VisitValue visitValue) {
    bool general = true;
    ForEachIniLine(data, [&](const IniLineSpan& line) {
        const std::string_view text = data.substr(line.start, line.end - line.start);
        if (text.front() == '[') {
            const std::string_view section = text.substr(1, text.find(']') - 1);
            general = AsciiLower(Trimmed(section, " \t\r\n\v\f")) == "general";
        } else if (general && line.equals != kNone) {
            visitValue(line, UnescapedKey(Trimmed(data.substr(line.start, line.equals - line.start),
                                                  " \t\r\n\v\f")));
        }
        visitLine(line, general);
    });
}

GeneralSection FindInGeneral(std::string_view data, std::string_view name) {
    GeneralSection found;
    ForEachGeneralLine(
        data,
        [&](const IniLineSpan& line, bool general) {
            if (general) found.lastLineEnd = line.end;
        },
        [&](const IniLineSpan& line, const std::string& key) {
            if (key == name) found.named.push_back(line);
        });
    return found;
}

// The names of the values in the file's general section (see FindInGeneral).
void AddGeneralNames(std::string_view data, std::set<std::string>& names) {
    ForEachGeneralLine(
        data, [](const IniLineSpan&, bool) {},
        [&](const IniLineSpan&, const std::string& key) {
            if (!key.empty()) names.insert(key);
        });
}

// The end of the physical line that a line of ForEachIniLine ends in, after its line break.
std::size_t PhysicalLineEnd(std::string_view data, std::size_t at) {
    while (at < data.size() && !IsLineBreak(data[at])) ++at;
    if (at < data.size()) at += data.substr(at, 2) == "\r\n" ? 2 : 1;
    return at;
}

// The file with the named value set to `line`: its last line is replaced, earlier ones go,
// and a new value goes at the end of the general section, which is made when missing.
// Everything else stays as it was: comments, other sections and values, the line breaks.
std::string WithLine(std::string data, std::string_view name, const std::string& line) {
    const std::string lineBreak = data.find("\r\n") != kNone ? "\r\n" : "\n";
    const GeneralSection general = FindInGeneral(data, name);
    if (!general.named.empty()) {
        for (auto it = general.named.rbegin(); it != general.named.rend(); ++it) {
            if (it == general.named.rbegin()) {
                data.replace(it->start, it->end - it->start, line);
            } else {
                data.erase(it->start, PhysicalLineEnd(data, it->end) - it->start);
            }
        }
    } else if (general.lastLineEnd != kNone) {
        const std::size_t at = PhysicalLineEnd(data, general.lastLineEnd);
        const bool brokenBefore = at > 0 && IsLineBreak(data[at - 1]);
        data.insert(at, (brokenBefore ? "" : lineBreak) + line + lineBreak);
    } else {
        const std::size_t at = BomSize(data);
        const bool more = data.find_first_not_of(" \t\r\n", at) != kNone;
        data.insert(at, "[General]" + lineBreak + line + lineBreak + (more ? lineBreak : ""));
    }
    return data;
}

enum class Found { kMissing, kValue, kUnreadable };

Found LookUp(std::string_view data, const std::string& name, std::string& value,
             std::string& problem) {
    const GeneralSection general = FindInGeneral(data, name);
    if (general.named.empty()) return Found::kMissing;
    const IniLineSpan& line = general.named.back();
    const std::string_view written = data.substr(line.equals + 1, line.end - line.equals - 1);
    IniValue parsed = ParseIniValue(written);
    if (parsed.kind == IniValue::Kind::kText) {
        value = std::move(parsed.bytes);
        return Found::kValue;
    }
    if (parsed.kind == IniValue::Kind::kNotUtf8) {
        problem = name +
                  ": not used, it holds bytes that are not UTF-8; save the settings file "
                  "as UTF-8";
        return Found::kUnreadable;
    }
    // An unquoted comma makes a list in Qt's reading, but a folder is one value: it is taken
    // as the file writes it. Only plain text qualifies; with quotes or escapes in it, or an
    // item that reads as a typed value ("@..."), what the player meant is not clear.
    const std::string_view text = Trimmed(written, " \t");
    bool plain = text.find_first_of("\"\\") == kNone;
    for (std::size_t from = 0; plain && from <= text.size();) {
        const std::size_t comma = std::min(text.find(',', from), text.size());
        const std::string_view item = Trimmed(text.substr(from, comma - from), " \t");
        plain = item.empty() || item.front() != '@';
        from = comma + 1;
    }
    if (plain) {
        value = std::string(text);
        return Found::kValue;
    }
    problem = name + ": a folder holding a comma must be quoted whole, as in " + name +
              "=\"/games/a,b/\"";
    return Found::kUnreadable;
}

// The file as it lies on disk: a name that exists only under another letter case is found,
// as a write would replace that one.
std::string OnDisk(const std::string& file) {
    FileSystem files;
    return files.Resolve(file);
}

Outcome CreateFolders(FileSystem& files, std::string folder) {
    while (!folder.empty() && (folder.back() == '/' || folder.back() == kPathSeparator)) {
        folder.pop_back();
    }
    if (folder.empty() || files.FolderExists(folder)) return {};
    if (Outcome parent = CreateFolders(files, FolderOf(folder)); !parent.Ok()) return parent;
    return files.CreateFolder(folder);
}

class IniSettingsStore final : public SettingsStore {
  public:
    IniSettingsStore(std::string file, std::string fallback)
        : file_(std::move(file)), fallback_(std::move(fallback)) {}

    bool Read(const std::string& name, std::string& value) const override {
        std::string problem;
        return Lookup(name, value, problem);
    }

    std::string WhyUnreadable(const std::string& name) const override {
        std::string value;
        std::string problem;
        Lookup(name, value, problem);
        return problem;
    }

    std::vector<std::string> UnknownNames(const std::vector<std::string>& known) const override {
        std::set<std::string> names;
        for (const std::string* file : {&file_, &fallback_}) {
            std::string data;
            if (!file->empty() && ReadWholeFile(OnDisk(*file), data) == WholeFileRead::kRead) {
                AddGeneralNames(data, names);
            }
        }
        for (const std::string& name : known) names.erase(name);
        return {names.begin(), names.end()};
    }

    Outcome Write(const std::string& name, const std::string& value) override {
        FileSystem files;
        if (Outcome made = CreateFolders(files, FolderOf(file_)); !made.Ok()) return made;
        // The new file goes to a temporary file beside the old one and replaces it only when
        // complete and on the disk, so a crash mid-write leaves the previous settings intact.
        FileReplacement replacement(files, file_);
        if (!replacement.IsOpen()) return replacement.OpenOutcome();
        std::string data;
        if (ReadWholeFile(replacement.Target(), data) == WholeFileRead::kFailed) {
            return Outcome::Failed(replacement.Target(), "cannot be read");
        }
        data = WithLine(std::move(data), name, IniSettingsLine(name, value));
        // A failed write is told by the commit, which then replaces nothing.
        replacement.Write(data.data(), data.size());
        return replacement.Commit();
    }

  private:
    bool Lookup(const std::string& name, std::string& value, std::string& problem) const {
        for (const std::string* file : {&file_, &fallback_}) {
            std::string data;
            if (file->empty() || ReadWholeFile(OnDisk(*file), data) != WholeFileRead::kRead) {
                continue;
            }
            std::string found;
            switch (LookUp(data, name, found, problem)) {
                case Found::kMissing:
                    continue;
                case Found::kValue:
                    value = std::move(found);
                    return true;
                case Found::kUnreadable:
                    return false;
            }
        }
        return false;
    }

    std::string file_;
    std::string fallback_;
};

}  // namespace

std::unique_ptr<SettingsStore> OpenIniSettingsStore(const std::string& file,
                                                    const std::string& fallbackFile) {
    return std::make_unique<IniSettingsStore>(file, fallbackFile);
}

#ifndef _WIN32
std::unique_ptr<SettingsStore> OpenDefaultSettingsStore() {
    // QARN.conf in the user's configuration folder ($XDG_CONFIG_HOME, by default ~/.config)
    // and in the system's (the first of $XDG_CONFIG_DIRS, by default /etc/xdg), where the
    // Qt-based versions kept them.
    std::string user = EnvironmentVariable("XDG_CONFIG_HOME");
    if (user.empty()) user = EnvironmentVariable("HOME") + "/.config";
    std::string system = EnvironmentVariable("XDG_CONFIG_DIRS");
    system = system.substr(0, system.find(':'));
    if (system.empty()) system = "/etc/xdg";
    return OpenIniSettingsStore(user + "/QARN.conf", system + "/QARN.conf");
}
#endif

}  // namespace wendmoor
