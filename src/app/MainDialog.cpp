#include "app/MainDialog.h"

#include <QAbstractButton>
#include <QAction>
#include <QButtonGroup>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QShortcut>
#include <QThread>
#include <QTimer>

#include "app/AboutDialog.h"
#include "app/BackupsDialog.h"
#include "games/Games.h"
#include "options/OptionsDialog.h"
#include "ui/MainWindowTemplate.h"
#include "widgets/ListBoxes.h"
#include "widgets/QtSeams.h"
#include "widgets/QtText.h"
#include "widgets/TemplatePage.h"

namespace wendmoor {

MainDialog::MainDialog(SettingsStore& settings, GuiServices& services, QWidget* parent)
    : QDialog(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                          Qt::WindowMaximizeButtonHint),
      services_(services),
      // currentGame is 0 here, so the options dialog refreshes nothing by itself.
      state_(
          settings, [this] { OnOptions(); },
          [this](std::chrono::milliseconds waited) { return KeepWaitingForLock(waited); }),
      page_(new TemplatePage(kMainWindowWidth, kMainWindowHeight, kMainWindowControls)),
      contentList_(page_->Control<ListBox>("contentList")),
      installedList_(page_->Control<ListBox>("installedList")),
      availableList_(page_->Control<ListBox>("availableList")),
      gameButtons_(new QButtonGroup(this)) {
    ExposeActionsToScreenReaders(this);
    setWindowTitle(kMainWindowTitle);
    setAccessibleDescription(kMainWindowDescription);
    ShowScrolling(*this, page_);
    for (const TemplateControl& control : kMainWindowControls) {
        if (control.kind == TemplateKind::GameChoice)
            gameButtons_->addButton(page_->Control<QRadioButton>(control.objectName), control.id);
    }
    // A click runs the selection, also on the game that is already selected.
    connect(gameButtons_, &QButtonGroup::idClicked, this, &MainDialog::SelectGame);
    connect(page_->Control<QPushButton>("byeButton"), &QPushButton::clicked, this,
            &QDialog::accept);
    for (const auto& [name, action] : {std::pair{"installButton", &MainDialog::OnInstall},
                                       std::pair{"deinstallButton", &MainDialog::OnDeinstall},
                                       std::pair{"optionsButton", &MainDialog::OnOptions},
                                       std::pair{"helpButton", &MainDialog::OnHelpButton},
                                       std::pair{"startButton", &MainDialog::OnStart}}) {
        connect(page_->Control<QPushButton>(name), &QPushButton::clicked, this, action);
    }
    for (const auto& [box, which] : {std::pair{installedList_, PackageList::Installed},
                                     std::pair{availableList_, PackageList::Available}}) {
        connect(box, &QListWidget::itemSelectionChanged, this,
                [this, which] { OnSelectionChanged(which); });
        const auto command = [this, which] { RunPackageCommand(which); };
        connect(box, &QListWidget::itemDoubleClicked, this, command);
        connect(static_cast<ListBox*>(box), &ListBox::commandRequested, this, command);
    }
    BuildMenu();
    Mirror();
}

void MainDialog::BuildMenu() {
    for (const auto& [command, handler] :
         {std::pair{kBackupsCommand, &MainDialog::OnBackups},
          std::pair{kAddPackagesCommand, &MainDialog::OnAddPackages},
          std::pair{kAboutCommand, &MainDialog::OnAbout}}) {
        if (command.objectName == kAddPackagesCommand.objectName && services_.finder == nullptr)
            continue;
        auto* action = new QAction(command.text, this);
        action->setObjectName(command.objectName);
        action->setShortcut(QKeySequence(command.shortcut));
        action->setShortcutContext(Qt::WindowShortcut);
        connect(action, &QAction::triggered, this, handler);
        addAction(action);
    }
    setAcceptDrops(services_.finder != nullptr);
    // Qt windows have no system menu to extend: the commands live in the context menu, which
    // Shift+F10 opens too, as the Menu key does.
    setContextMenuPolicy(Qt::ActionsContextMenu);
    connect(new QShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F10), this), &QShortcut::activated, this,
            [this] {
                QMenu menu(this);
                menu.addActions(actions());
                QWidget* focus = focusWidget() != nullptr ? focusWidget() : this;
                menu.exec(focus->mapToGlobal(focus->rect().center()));
            });
}

bool MainDialog::InitDialog() {
    // Where the window will stand, so the boxes of the start appear over that place.
    if (!isVisible() && screen() != nullptr)
        move(screen()->availableGeometry().center() - rect().center());
    if (const std::string unusable = state_.LoadSettings(); !unusable.empty())
        Tell(true, kAppCaption, unusable);
    Mirror();
    if (!state_.NeedsFirstStartAbout()) return true;
    AboutDialog about(this);
    connect(&about, &AboutDialog::readmeRequested, this, &MainDialog::OnHelpButton);
    if (services_.dialogs.Run(about) == QDialog::Rejected) return false;
    OfferFoundFolders();
    return true;
}

void MainDialog::Mirror() {
    FillListBox(availableList_, state_.Lines(PackageList::Available));
    FillListBox(installedList_, state_.Lines(PackageList::Installed));
    SelectListLine(availableList_, state_.Selected(PackageList::Available));
    SelectListLine(installedList_, state_.Selected(PackageList::Installed));
    MirrorSelection();
}

void MainDialog::MirrorSelection() {
    FillListBox(contentList_, state_.ContentLines());
    page_->Control("installButton")->setEnabled(state_.CanInstall());
    page_->Control("deinstallButton")->setEnabled(state_.CanDeinstall());
}

void MainDialog::OnSelectionChanged(PackageList list) {
    const bool installed = list == PackageList::Installed;
    state_.SelectPackage(list, SelectedLine(installed ? installedList_ : availableList_));
    // At most one of the two lists shows a selection. The lists themselves stay as they are:
    // the click that changed the selection is still under way in one of them.
    SelectListLine(installed ? availableList_ : installedList_, std::nullopt);
    MirrorSelection();
}

void MainDialog::SelectGame(int game) {
    if (DeferWhileBusy([this, game] { SelectGame(game); })) return;
    // Also when the game comes from elsewhere than its button (files from the command line).
    if (QAbstractButton* button = gameButtons_->button(game)) button->setChecked(true);
    const OverrideCursor wait;
    busy_ = true;
    // The lists empty at once, also while the options dialog asks for missing folders.
    for (QListWidget* list : {availableList_, installedList_, contentList_}) FillListBox(list, {});
    state_.SelectGame(game);
    busy_ = false;
    Mirror();
}

bool MainDialog::DeferWhileBusy(std::function<void()> action) {
    if (!busy_) return false;
    QTimer::singleShot(50, this, [action = std::move(action)] { action(); });
    return true;
}

bool MainDialog::KeepWaitingForLock(std::chrono::milliseconds waited) {
    // A command's own thread only tells the window, which shows it in the progress dialog.
    if (QThread::currentThread() != thread()) {
        waitingForLock_ = true;
        return true;
    }
    // Another Wendmoor process holds the folders; its command is short, so the window waits and
    // says so. It paints the notice at once and runs no events meanwhile: a queued action must
    // not start inside the selection.
    if (state_.LockNoticeDue(waited)) {
        FillListBox(contentList_, {kWaitingForLockText});
        contentList_->repaint();
    }
    return true;
}

void MainDialog::OnOptions() {
    {
        const OverrideCursor normal(Qt::ArrowCursor);
        OptionsDialog dialog(state_.Paths(), services_.files, services_.messages, this,
                             services_.finder);
        if (services_.dialogs.Run(dialog) != QDialog::Accepted) return;
    }
    // Saved before the refresh, which may ask for folders again.
    SaveFolders();
    if (state_.CurrentGame() != kNoGame && !busy_) SelectGame(state_.CurrentGame());
}

void MainDialog::SaveFolders() {
    if (const std::string unsaved = state_.SaveSettings(); !unsaved.empty())
        Tell(true, kAppCaption, unsaved);
}

void MainDialog::Tell(bool warning, const std::string& caption, const std::string& text) {
    if (warning) {
        services_.messages.ShowWarning(ParentOf(this), caption, text);
    } else {
        services_.messages.ShowInformation(ParentOf(this), caption, text, {});
    }
}

void MainDialog::done(int result) {
    if (!busy_) QDialog::done(result);
}

void MainDialog::OnStart() {
    // The game starts in its own folder.
    if (const std::optional<std::string> program = state_.GameProgram())
        OpenAndFollow(services_.launcher, services_.messages, this, *program, state_.GameFolder());
}

void MainDialog::OnHelpButton() {
    const auto [file, folder] = state_.Readme();
    OpenAndFollow(services_.launcher, services_.messages, this, file, folder);
}

void MainDialog::OnAbout() {
    AboutDialog about(this);
    connect(&about, &AboutDialog::readmeRequested, this, &MainDialog::OnHelpButton);
    services_.dialogs.Run(about);  // its result does not matter here
}

void MainDialog::OnBackups() {
    std::optional<BackupsList> backups = state_.Backups();
    if (!backups) return Tell(false, kAppCaption, kChooseGameForBackups);
    BackupsDialog dialog(FindGame(state_.CurrentGame())->name, std::move(*backups), services_,
                         this);
    services_.dialogs.Run(dialog);
    Mirror();  // a restore may have changed what is installed
}

}  // namespace wendmoor
