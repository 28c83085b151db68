#pragma once

#include <string>

#include <QApplication>
#include <QCursor>
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

// A cursor over the whole program from construction to destruction, also when an exception
// leaves the scope; an inner one leaves the outer one standing. The arrow, for a modal dialog
// that a waiting operation opens, only stands in for another cursor: without one it does nothing.
class OverrideCursor {
  public:
    explicit OverrideCursor(Qt::CursorShape shape = Qt::WaitCursor)
        : pushed_(shape != Qt::ArrowCursor || QApplication::overrideCursor() != nullptr) {
        if (pushed_) QApplication::setOverrideCursor(QCursor(shape));
    }
    ~OverrideCursor() {
        if (pushed_) QApplication::restoreOverrideCursor();
    }
    OverrideCursor(const OverrideCursor&) = delete;
    OverrideCursor& operator=(const OverrideCursor&) = delete;

  private:
    bool pushed_;
};

}  // namespace wendmoor
