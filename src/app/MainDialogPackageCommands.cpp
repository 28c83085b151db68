// The commands on one package of the selected game.
#include <QListWidget>

#include "app/BackupsDialog.h"
#include "app/ListBoxes.h"
#include "app/MainDialog.h"
#include "app/Seams.h"
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

    Outcome outcome;
    {
        const WaitCursor wait;
        waitNoticeShown_ = false;
        outcome = session_.RunPackageCommand(*name, install);
        MirrorSession();
    }
    ReportOutcome(install, outcome);
}

void MainDialog::ReportOutcome(bool install, const Outcome& outcome) {
    QString text;
    if (!outcome.Ok()) {
        text = (install ? QStringLiteral("Not everything could be installed:\n\n")
                        : QStringLiteral("Not everything could be deinstalled:\n\n")) +
               MessageLines(outcome.Lines());
    }
    if (const QString kept = KeptFilesText(session_.Kept()); !kept.isEmpty()) {
        if (!text.isEmpty()) text += QLatin1Char('\n');
        text += kept;
    }
    if (text.isEmpty()) return;
    services_.messages.ShowInformation(this, QStringLiteral("Wendmoor"), text);
}

}  // namespace wendmoor
