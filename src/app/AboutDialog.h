#pragma once

#include <QDialog>

namespace wendmoor {

// "Info über QARN": the icon, the version, the authors, a link to the readme, the licence and
// "OK". Accepted by "OK" or Enter, rejected by Escape or the close box; start-up ends the
// program on a rejection.
class AboutDialog : public QDialog {
    Q_OBJECT

  public:
    explicit AboutDialog(QWidget* parent = nullptr);

  signals:
    // The readme link was followed; the window opens the readme as "Help" does.
    void readmeRequested();
};

}  // namespace wendmoor
