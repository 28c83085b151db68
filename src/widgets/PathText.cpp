#include "widgets/PathText.h"

namespace wendmoor {

namespace {

QString Decoded(const std::string& bytes) {
    return QString::fromLocal8Bit(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

}  // namespace

QString TextHtml(const std::string& text) {
    return Decoded(text).toHtmlEscaped().replace(QLatin1Char('\n'), QStringLiteral("<br>"));
}

QString PathHtml(const std::string& path) {
    return TextHtml(path).replace(QLatin1Char(' '), QStringLiteral("&nbsp;"));
}

}  // namespace wendmoor
