#pragma once

#include "ui/FinderSeams.h"
#include "ui/Seams.h"

class QDialog;

namespace wendmoor {

// Runs a modal sub-dialog (the About box, the options dialog) and answers how it ended:
// QDialog::Accepted or QDialog::Rejected. A stand-in may work the dialog's controls and must
// end it through accept() or reject(), so that the dialog's own OK and Cancel logic runs.
class DialogRunner {
  public:
    virtual ~DialogRunner() = default;
    virtual int Run(QDialog& dialog) = 0;
};

// Everything the Qt window needs of the modal pieces and of the shell. The objects belong to
// the caller and outlive the window.
struct GuiServices {
    DialogRunner& dialogs;
    MessageBoxes& messages;
    FileChooser& files;
    Launcher& launcher;
    // Finding the games and adding packages. Without it the window does neither, so no test
    // walks the real home by accident.
    FinderServices* finder = nullptr;
};

}  // namespace wendmoor
