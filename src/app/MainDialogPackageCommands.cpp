// Part 1.2: the commands on one package of the selected game.
#include <QListWidget>

#include "app/ListBoxes.h"
#include "app/MainDialog.h"
#include "app/WaitCursor.h"
#include "packages/Games.h"

namespace wendmoor {

void MainDialog::OnAvailableSelChange() {
    ShowPackageContent(availableList_, installedList_);
}

void MainDialog::OnInstalledSelChange() {
    ShowPackageContent(installedList_, availableList_);
}

void MainDialog::OnInstall() {
    RunPackageCommand(availableList_, true);
}

void MainDialog::OnDeinstall() {
    RunPackageCommand(installedList_, false);
}

// A double-click comes after the selection change of its first click: the content is shown
// first and then emptied by the command.
void MainDialog::OnAvailableDblClk() {
    OnInstall();
}

void MainDialog::OnInstalledDblClk() {
    OnDeinstall();
}

void MainDialog::ShowPackageContent(QListWidget* source, QListWidget* other) {
    // No wait cursor here: reading one archive's directory is quick.
    ResetListBox(contentList_);
    session_.ClearContent();
    ClearListSelection(other);  // at most one of the two lists shows a selection
    const std::optional<std::string> name = SelectedLine(source);
    if (!name) return;
    if (session_.CurrentGame() == kNoGame) return;
    session_.ShowPackageContent(*name);
    FillListBox(contentList_, session_.Content());
}

void MainDialog::RunPackageCommand(QListWidget* source, bool install) {
    const std::optional<std::string> name = SelectedLine(source);
    if (!name) return;  // nothing at all changes
    ClearListSelection(source);
    ResetListBox(contentList_);
    session_.ClearContent();
    if (session_.CurrentGame() == kNoGame) return;

    // The session installs and then refreshes in one call, so the wait cursor stands over
    // both (the original showed it for the refresh alone).
    const WaitCursor wait;
    if (session_.RunPackageCommand(*name, install) != PackageSession::CommandResult::Done) {
        return;  // no package (any more): nothing installed, no refresh
    }
    MirrorSession();
}

}  // namespace wendmoor
