#include "app/MainDialog.h"

#include <filesystem>
#include <system_error>

#include <QAbstractButton>
#include <QAction>
#include <QButtonGroup>
#include <QKeySequence>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QShortcut>
#include <QThread>
#include <QTimer>

#include "app/AboutDialog.h"
#include "packages/Games.h"
#include "settings/dialog/OptionsDialog.h"
#include "ui/MainWindowTemplate.h"
#include "widgets/AppIcon.h"
#include "widgets/GroupFrame.h"
#include "widgets/ListBoxes.h"
#include "widgets/QtText.h"
#include "widgets/Seams.h"
#include "widgets/TemplatePage.h"
#include "widgets/WaitCursor.h"

namespace wendmoor {

namespace {

// The current folder as the system spells it (bytes); empty when it cannot be read.
std::string CurrentFolder() {
    std::error_code error;
    const std::filesystem::path folder = std::filesystem::current_path(error);
    return error ? std::string() : folder.string();
}

QWidget* MakeControl(const TemplateControl& control, QWidget* page) {
    const QString text = QString::fromUtf8(control.text);
    switch (control.kind) {
        case TemplateControl::Kind::Group:
            return new GroupFrame(text, page);
        case TemplateControl::Kind::Button:
            return new QPushButton(text, page);
        case TemplateControl::Kind::GameChoice:
            return new QRadioButton(text, page);
        case TemplateControl::Kind::List: {
            auto* list = new ListBox(QString::fromUtf8(control.accessibleName),
                                     QString::fromUtf8(control.accessibleDescription), page);
            list->setSelectionMode(QAbstractItemView::SingleSelection);
            list->setUniformItemSizes(true);
            list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
            list->setTextElideMode(Qt::ElideRight);
            return list;
        }
    }
    return nullptr;
}

}  // namespace

MainDialog::MainDialog(SettingsStore& settings, GuiServices& services, QWidget* parent)
    : QDialog(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                          Qt::WindowMaximizeButtonHint),
      services_(services),
      startDirectory_(CurrentFolder()),
      state_(
          settings,
          // currentGame is 0 here, so the options dialog refreshes nothing by itself.
          [this] { OnOptions(); },
          [this](std::chrono::milliseconds waited) { return KeepWaitingForLock(waited); }) {
    setWindowTitle(QString::fromUtf8(kMainWindowTitle));
    setWindowIcon(AppIcon());
    BuildControls();
    BuildMenu();
    Mirror();
}

MainDialog::~MainDialog() = default;

void MainDialog::BuildControls() {
    auto* page = new TemplatePage(kMainWindowWidth, kMainWindowHeight);
    gameButtons_ = new QButtonGroup(this);
    for (const TemplateControl& control : kMainWindowControls) {
        QWidget* widget = MakeControl(control, page);
        widget->setObjectName(QString::fromLatin1(control.objectName));
        page->Place(widget, control.x, control.y, control.width, control.height,
                    {control.moveX, control.growX, control.moveY, control.growY});
        if (control.kind == TemplateControl::Kind::GameChoice) {
            gameButtons_->addButton(static_cast<QRadioButton*>(widget), control.game);
        }
    }
    ShowScrolling(*this, page);

    const auto button = [page](const char* name) {
        return page->findChild<QPushButton*>(QString::fromLatin1(name));
    };
    const auto list = [page](const char* name) {
        return page->findChild<ListBox*>(QString::fromLatin1(name));
    };
    for (const auto& [frame, framed] : kFramedLists) {
        page->findChild<GroupFrame*>(QString::fromLatin1(frame))->SetBuddy(list(framed));
    }
    installedList_ = list("installedList");
    availableList_ = list("availableList");
    contentList_ = list("contentList");
    // The letters of the content lines, for the mouse as for a screen reader.
    contentList_->setToolTip(contentList_->accessibleDescription());
    installButton_ = button("installButton");
    deinstallButton_ = button("deinstallButton");
    button("byeButton")->setDefault(true);
    connect(button("byeButton"), &QPushButton::clicked, this, &QDialog::accept);
    connect(installButton_, &QPushButton::clicked, this, &MainDialog::OnInstall);
    connect(deinstallButton_, &QPushButton::clicked, this, &MainDialog::OnDeinstall);
    connect(button("optionsButton"), &QPushButton::clicked, this, &MainDialog::OnOptions);
    connect(button("helpButton"), &QPushButton::clicked, this, &MainDialog::OnHelpButton);
    connect(button("startButton"), &QPushButton::clicked, this, &MainDialog::OnStart);
    // A click runs the selection, also on the game that is already selected.
    connect(gameButtons_, &QButtonGroup::idClicked, this, &MainDialog::SelectGame);

    for (const auto& [widget, which] : {std::pair{installedList_, PackageList::Installed},
                                        std::pair{availableList_, PackageList::Available}}) {
        auto* box = static_cast<ListBox*>(widget);
        connect(box, &QListWidget::itemSelectionChanged, this,
                [this, which] { OnSelectionChanged(which); });
        const auto command = [this, which] { RunPackageCommand(which); };
        connect(box, &QListWidget::itemDoubleClicked, this, command);
        connect(box, &ListBox::commandRequested, this, command);
    }
}

void MainDialog::BuildMenu() {
    backupsAction_ = new QAction(QString::fromUtf8(kBackupsCommand), this);
    connect(backupsAction_, &QAction::triggered, this, &MainDialog::OnBackups);
    addAction(backupsAction_);
    if (services_.finder != nullptr) {
        addPackagesAction_ = new QAction(QString::fromUtf8(kAddPackagesCommand), this);
        connect(addPackagesAction_, &QAction::triggered, this, &MainDialog::OnAddPackages);
        addAction(addPackagesAction_);
        setAcceptDrops(true);
    }
    // Qt windows have no system menu to extend: the About command lives in the window's
    // context menu and on Ctrl+I.
    aboutAction_ = new QAction(QString::fromUtf8(kAboutCommand), this);
    aboutAction_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_I));
    aboutAction_->setShortcutContext(Qt::WindowShortcut);
    connect(aboutAction_, &QAction::triggered, this, &MainDialog::OnAbout);
    addAction(aboutAction_);
    setContextMenuPolicy(Qt::ActionsContextMenu);
    // Shift+F10 opens the context menu, as the Menu key does.
    auto* menuKey = new QShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F10), this);
    connect(menuKey, &QShortcut::activated, this, [this] {
        QMenu menu(this);
        menu.addActions(actions());
        QWidget* focus = focusWidget() != nullptr ? focusWidget() : this;
        menu.exec(focus->mapToGlobal(focus->rect().center()));
    });
}

bool MainDialog::InitDialog() {
    // The window is not shown yet; put it where it will stand, in the middle of its screen,
    // so the boxes of the start appear over that place rather than in a corner.
    if (!isVisible() && screen() != nullptr) {
        move(screen()->availableGeometry().center() - rect().center());
    }
    if (const std::string unusable = state_.LoadSettings(); !unusable.empty()) {
        services_.messages.ShowWarning(ParentOf(this), kAppCaption, unusable);
    }
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
    installButton_->setEnabled(state_.CanInstall());
    deinstallButton_->setEnabled(state_.CanDeinstall());
}

void MainDialog::OnSelectionChanged(PackageList list) {
    QListWidget* box = list == PackageList::Installed ? installedList_ : availableList_;
    state_.SelectPackage(list, SelectedLine(box));
    // At most one of the two lists shows a selection. The lists themselves stay as they are:
    // the click that changed the selection is still under way in one of them.
    ClearListSelection(list == PackageList::Installed ? availableList_ : installedList_);
    MirrorSelection();
}

void MainDialog::SelectGame(int game) {
    if (DeferWhileBusy([this, game] { SelectGame(game); })) return;
    // Also when the game comes from elsewhere than its button (files to add).
    if (QAbstractButton* button = gameButtons_->button(game)) button->setChecked(true);
    const WaitCursor wait;
    busy_ = true;
    // The lists empty at once, also while the options dialog asks for missing folders.
    ResetListBox(availableList_);
    ResetListBox(installedList_);
    ResetListBox(contentList_);
    waitNoticeShown_ = false;
    state_.SelectGame(game);
    busy_ = false;
    Mirror();
}

bool MainDialog::DeferWhileBusy(std::function<void()> action) {
    if (!busy_) return false;
    QTimer::singleShot(50, this, [this, action = std::move(action)] { action(); });
    return true;
}

bool MainDialog::KeepWaitingForLock(std::chrono::milliseconds waited) {
    // A command's own thread only tells the window, which shows it in the progress dialog.
    if (QThread::currentThread() != thread()) {
        waitingForLock_ = true;
        return true;
    }
    // Another Wendmoor process is installing or deinstalling; its command is short, so the
    // window waits, and says so once the wait becomes noticeable. It paints the notice at once
    // and runs no events meanwhile: a queued action must not start inside the selection.
    if (waited >= kLockNoticeDelay && !waitNoticeShown_) {
        waitNoticeShown_ = true;
        FillListBox(contentList_, {kWaitingForLockText});
        contentList_->repaint();
    }
    return true;
}

void MainDialog::OnOptions() {
    {
        const NormalCursor normal;
        OptionsDialog dialog(state_.Paths(), services_.files, services_.messages, this);
        PrepareOptionsDialog(dialog);
        if (services_.dialogs.Run(dialog) != QDialog::Accepted) return;
    }
    // Saved before the refresh, which may ask for folders again.
    SaveFolders();
    if (state_.CurrentGame() != kNoGame && !busy_) SelectGame(state_.CurrentGame());
}

void MainDialog::SaveFolders() {
    if (const std::string unsaved = state_.SaveSettings(); !unsaved.empty()) {
        services_.messages.ShowWarning(ParentOf(this), kAppCaption, unsaved);
    }
}

void MainDialog::Inform(const std::string& caption, const std::string& text) {
    services_.messages.ShowInformation(ParentOf(this), caption, text, {});
}

void MainDialog::done(int result) {
    if (busy_) return;
    QDialog::done(result);
}

}  // namespace wendmoor
