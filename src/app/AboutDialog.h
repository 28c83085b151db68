#pragma once

#include <QDialog>

namespace wendmoor {

// "Info über QARN": the icon, the version and two author lines, and
// "OK". Accepted by "OK" or Enter, rejected by Escape or the close box; start-up ends the
// program on a rejection.
class AboutDialog : public QDialog {
    Q_OBJECT

  public:
    explicit AboutDialog(QWidget* parent = nullptr);
};

}  // namespace wendmoor
