#include "app/PathText.h"

#include "platform/Path.h"

namespace wendmoor {

QString BreakAtSeparators(const std::string& text) {
    const QString decoded =
        QString::fromLocal8Bit(text.data(), static_cast<qsizetype>(text.size()));
    QString shown;
    shown.reserve(decoded.size() + decoded.size() / 8);
    for (const QChar c : decoded) {
        shown += c;
        if (c == QLatin1Char(kPathSeparator)) shown += QChar(0x200B);
    }
    return shown;
}

}  // namespace wendmoor
