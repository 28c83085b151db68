#pragma once

#include <string>

#include <QFile>
#include <QString>
#include <QWidget>

#include "ui/Seams.h"

namespace wendmoor {

// The boundary between the layer's bytes and Qt's strings: texts and paths are shown as the
// system reads file names; a path handed back keeps the system's encoding.
inline QString ToQt(const std::string& text) {
    return QFile::decodeName(QByteArray::fromStdString(text));
}
inline std::string PathOf(const QString& path) {
    return QFile::encodeName(path).toStdString();
}
inline ParentWindow ParentOf(QWidget* widget) {
    return ParentWindow{widget};
}
inline QWidget* WidgetOf(ParentWindow parent) {
    return static_cast<QWidget*>(parent.handle);
}

}  // namespace wendmoor
