#include <QByteArray>
#include <QSettings>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <fstream>
#include <iterator>
#include <optional>
#include <string_view>

#include "platform/SettingsStore.h"

namespace wendmoor {

namespace {

QString FileNameToQString(const std::string& file) {
    return QString::fromLocal8Bit(file);
}

// Values are stored as text when they are valid UTF-8 (what other tools expect to read) and
// as a byte array otherwise, so no path loses a byte on its way through the file.
QVariant ToStored(const std::string& value) {
    const QByteArray bytes = QByteArray::fromStdString(value);
    const QString text = QString::fromUtf8(bytes);
    if (text.toUtf8() == bytes) return text;
    return bytes;
}

std::string FromStored(const QVariant& stored) {
    if (stored.typeId() == QMetaType::QByteArray) return stored.toByteArray().toStdString();
    return stored.toString().toUtf8().toStdString();
}

bool IsListValue(const QVariant& stored) {
    return stored.typeId() == QMetaType::QStringList || stored.typeId() == QMetaType::QVariantList;
}

std::string_view TrimmedOfBlanks(std::string_view text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// Calls visit(line, equals) for each line of an INI file as QSettings' reader delimits them: a
// line ends at a line break or a ";" outside double quotes, a ";" opening a line makes it a
// comment, and a backslash takes the next byte (a line break too) with it. `line` starts at its
// first byte that is no white space; `equals` is the offset of its first "=" outside quotes, or
// npos.
template <typename Visit>
void ForEachIniLine(std::string_view data, Visit visit) {
    constexpr std::string_view kBom = "\xef\xbb\xbf";
    std::size_t at = data.substr(0, kBom.size()) == kBom ? kBom.size() : 0;
    const auto isBreak = [](char c) { return c == '\n' || c == '\r'; };
    while (at < data.size()) {
        at = data.find_first_not_of(" \t\r\n", at);
        if (at == std::string_view::npos) return;
        const std::size_t start = at;
        if (data[at] == ';') {
            while (at < data.size() && !isBreak(data[at])) ++at;
            continue;
        }
        bool quoted = false;
        std::size_t equals = std::string_view::npos;
        for (; at < data.size(); ++at) {
            const char c = data[at];
            if (c == '\\') {
                if (at + 2 < data.size() && isBreak(data[at + 1]) && isBreak(data[at + 2]) &&
                    data[at + 1] != data[at + 2]) {
                    at += 2;
                } else {
                    at += 1;
                }
            } else if (c == '"') {
                quoted = !quoted;
            } else if (!quoted && c == '=' && equals == std::string_view::npos) {
                equals = at - start;
            } else if (!quoted && (isBreak(c) || c == ';')) {
                break;
            }
        }
        visit(data.substr(start, std::min(at, data.size()) - start), equals);
    }
}

// The value of `name` in the file's [General] section (or before any section) as its text
// stands, without the blanks around it; the last line naming it wins, as in QSettings.
std::optional<std::string> WrittenValue(const std::string& file, const std::string& name) {
    std::ifstream in(file, std::ios::binary);
    const std::string data{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    if (in.bad()) return std::nullopt;
    std::optional<std::string> value;
    bool general = true;
    ForEachIniLine(data, [&](std::string_view line, std::size_t equals) {
        if (line.front() == '[') {
            const QByteArray section =
                QByteArray(line.data() + 1, static_cast<qsizetype>(line.size() - 1))
                    .split(']')
                    .front()
                    .trimmed();
            general = section.compare("general", Qt::CaseInsensitive) == 0;
        } else if (general && equals != std::string_view::npos &&
                   TrimmedOfBlanks(line.substr(0, equals)) == name) {
            value = std::string(TrimmedOfBlanks(line.substr(equals + 1)));
        }
    });
    return value;
}

// QSettings takes an unquoted comma for a list separator and drops the blanks around it, but a
// folder is one value: it is taken as the file writes it. Only plain text qualifies; with quotes
// or escapes in it, or an item that QSettings reads as a typed value ("@..."), what the player
// meant is not clear. The text must split into the very items QSettings read, so it is the line
// QSettings took the value from.
std::optional<std::string> ListAsWritten(const QVariant& stored, const std::string& file,
                                         const std::string& name) {
    const std::optional<std::string> written = WrittenValue(file, name);
    if (!written || written->find_first_of("\"\\") != std::string::npos) return std::nullopt;
    QStringList items;
    for (const QByteArray& item : QByteArray::fromStdString(*written).split(',')) {
        const std::string_view text = TrimmedOfBlanks(std::string_view(item.data(), item.size()));
        if (!text.empty() && text.front() == '@') return std::nullopt;
        items.append(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
    }
    if (items != stored.toStringList()) return std::nullopt;
    return written;
}

struct IniFile {
    std::string name;
    std::unique_ptr<QSettings> settings;
};

class IniSettingsStore final : public SettingsStore {
  public:
    IniSettingsStore(IniFile file, IniFile fallback)
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

    Outcome Write(const std::string& name, const std::string& value) override {
        QSettings& settings = *file_.settings;
        settings.setValue(QString::fromStdString(name), ToStored(value));
        // QSettings writes through a temporary file that replaces the old one only when
        // complete, so a crash mid-write leaves the previous settings intact.
        settings.sync();
        if (settings.status() == QSettings::NoError) return {};
        return Outcome::Failed(settings.fileName().toStdString(), "cannot be written");
    }

  private:
    bool Lookup(const std::string& name, std::string& value, std::string& problem) const {
        const QString key = QString::fromStdString(name);
        file_.settings->sync();
        for (const IniFile* source : {&file_, &fallback_}) {
            if (!source->settings || !source->settings->contains(key)) continue;
            const QVariant stored = source->settings->value(key);
            if (!IsListValue(stored)) {
                value = FromStored(stored);
                return true;
            }
            if (std::optional<std::string> written = ListAsWritten(stored, source->name, name)) {
                value = std::move(*written);
                return true;
            }
            problem = name + ": a folder holding a comma must be quoted whole, as in " + name +
                      "=\"/games/a,b/\"";
            return false;
        }
        return false;
    }

    IniFile file_;
    IniFile fallback_;
};

IniFile OpenIniFile(const std::string& file) {
    auto settings = std::make_unique<QSettings>(FileNameToQString(file), QSettings::IniFormat);
    settings->setFallbacksEnabled(false);
    return {file, std::move(settings)};
}

}  // namespace

std::unique_ptr<SettingsStore> OpenIniSettingsStore(const std::string& file,
                                                    const std::string& fallbackFile) {
    return std::make_unique<IniSettingsStore>(
        OpenIniFile(file), fallbackFile.empty() ? IniFile{} : OpenIniFile(fallbackFile));
}

#ifndef _WIN32
std::unique_ptr<SettingsStore> OpenDefaultSettingsStore() {
    // The native format here is the INI format in a ".conf" file: QARN.conf in the user's
    // configuration folder ($XDG_CONFIG_HOME, by default ~/.config) and in the system's.
    const QSettings user(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("QARN"));
    const QSettings machine(QSettings::NativeFormat, QSettings::SystemScope,
                            QStringLiteral("QARN"));
    return OpenIniSettingsStore(user.fileName().toLocal8Bit().toStdString(),
                                machine.fileName().toLocal8Bit().toStdString());
}
#endif

}  // namespace wendmoor
