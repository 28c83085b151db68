#include <QByteArray>
#include <QSettings>
#include <QString>
#include <QVariant>

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
    if (stored.typeId() == QMetaType::QStringList) {
        // An unquoted value with commas reads back as a list; it was one string.
        return stored.toStringList().join(QStringLiteral(", ")).toUtf8().toStdString();
    }
    return stored.toString().toUtf8().toStdString();
}

class IniSettingsStore final : public SettingsStore {
  public:
    IniSettingsStore(std::unique_ptr<QSettings> settings, std::unique_ptr<QSettings> fallback)
        : settings_(std::move(settings)), fallback_(std::move(fallback)) {}

    bool Read(const std::string& name, std::string& value) const override {
        const QString key = QString::fromStdString(name);
        settings_->sync();
        for (QSettings* source : {settings_.get(), fallback_.get()}) {
            if (source == nullptr || !source->contains(key)) continue;
            value = FromStored(source->value(key));
            return true;
        }
        return false;
    }

    bool Write(const std::string& name, const std::string& value) override {
        settings_->setValue(QString::fromStdString(name), ToStored(value));
        // QSettings writes through a temporary file that replaces the old one only when
        // complete, so a crash mid-write leaves the previous settings intact.
        settings_->sync();
        return settings_->status() == QSettings::NoError;
    }

  private:
    std::unique_ptr<QSettings> settings_;
    std::unique_ptr<QSettings> fallback_;
};

std::unique_ptr<QSettings> IniFile(const std::string& file) {
    auto settings = std::make_unique<QSettings>(FileNameToQString(file), QSettings::IniFormat);
    settings->setFallbacksEnabled(false);
    return settings;
}

}  // namespace

std::unique_ptr<SettingsStore> OpenIniSettingsStore(const std::string& file,
                                                    const std::string& fallbackFile) {
    return std::make_unique<IniSettingsStore>(
        IniFile(file), fallbackFile.empty() ? nullptr : IniFile(fallbackFile));
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
