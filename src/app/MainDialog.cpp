#include "app/MainDialog.h"

#include <system_error>

#include <QAction>
#include <QButtonGroup>
#include <QCoreApplication>
#include <QKeySequence>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QThread>

#include "app/AboutDialog.h"
#include "packages/Games.h"
#include "platform/SettingsStore.h"
#include "settings/dialog/OptionsDialog.h"
#include "widgets/AppIcon.h"
#include "widgets/DialogUnits.h"
#include "widgets/GroupFrame.h"
#include "widgets/ListBoxes.h"
#include "widgets/Seams.h"
#include "widgets/WaitCursor.h"

namespace wendmoor {

namespace {

ListBox* MakeListBox(QWidget* parent, const char* objectName, const char* name,
                     const char* description) {
    auto* list = new ListBox(QString::fromUtf8(name), QString::fromUtf8(description), parent);
    list->setObjectName(QString::fromLatin1(objectName));
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->setSortingEnabled(false);  // the lines come sorted (ListOrder)
    list->setUniformItemSizes(true);
    list->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    list->setTextElideMode(Qt::ElideRight);
    return list;
}

QPushButton* MakeButton(QWidget* parent, const char* objectName, const QString& text) {
    auto* button = new QPushButton(text, parent);
    button->setObjectName(QString::fromLatin1(objectName));
    return button;
}

}  // namespace

bool NeedsFirstStartAbout(const GamePaths& paths) {
    return paths.emperor_path.empty() && paths.pharao_path.empty() && paths.zeus_path.empty();
}

bool ContinuesAfterFirstStartAbout(int result) {
    return result != QDialog::Rejected;
}

MainDialog::MainDialog(SettingsStore& settings, GuiServices& services, QWidget* parent)
    : QDialog(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      settings_(settings),
      services_(services),
      session_(
          paths_, fileSystem_,
          [this] {
              // The selection asks for the missing folders; currentGame is 0 here, so the
              // options dialog refreshes nothing by itself.
              OnOptions();
          },
          [this](std::chrono::milliseconds waited) { return KeepWaitingForLock(waited); }) {
    setWindowTitle(QStringLiteral("Wendmoor"));
    setWindowIcon(AppIcon());
    BuildControls();
}

MainDialog::~MainDialog() = default;

void MainDialog::BuildControls() {
    const DialogUnits units(font());

    // Group boxes first, so they lie beneath the controls they frame and take no clicks.
    const struct {
        const char* id;
        const char* text;
        int x, y, width, height;
    } groups[] = {
        {"groupSelectGame", "Select Game", 5, 0, 245, 25},
        {"groupInstalled", "Installed Missions", 5, 30, 170, 205},
        {"groupAvailable", "Available Missions", 230, 30, 170, 205},
        {"groupContent", "Zipfile Content", 5, 240, 395, 100},
    };
    for (const auto& group : groups) {
        auto* box = new GroupFrame(QString::fromUtf8(group.text), this);
        box->setObjectName(QString::fromLatin1(group.id));
        units.Place(box, group.x, group.y, group.width, group.height);
    }

    // The controls in their tab order.
    QPushButton* bye = MakeButton(this, "byeButton", QStringLiteral("Bye Bye ..."));
    bye->setDefault(true);
    units.Place(bye, 360, 10, 40, 14);
    connect(bye, &QPushButton::clicked, this, &QDialog::accept);

    QPushButton* install = MakeButton(this, "installButton", QStringLiteral("<- Install"));
    units.Place(install, 180, 95, 45, 35);
    connect(install, &QPushButton::clicked, this, &MainDialog::OnInstall);

    QPushButton* deinstall = MakeButton(this, "deinstallButton", QStringLiteral("Deinstall ->"));
    units.Place(deinstall, 180, 137, 45, 35);
    connect(deinstall, &QPushButton::clicked, this, &MainDialog::OnDeinstall);

    ListBox* installed =
        MakeListBox(this, "installedList", "Installed missions",
                    "The selected game's installed mission packages. Enter or a double-click "
                    "deinstalls the selected one.");
    installedList_ = installed;
    units.Place(installedList_, 10, 40, 160, 190);
    ListBox* available =
        MakeListBox(this, "availableList", "Available missions",
                    "The mission packages in the selected game's missions folder that are not "
                    "installed. Enter or a double-click installs the selected one.");
    availableList_ = available;
    units.Place(availableList_, 235, 40, 160, 190);

    QPushButton* options = MakeButton(this, "optionsButton", QStringLiteral("Options"));
    units.Place(options, 315, 10, 40, 15);
    connect(options, &QPushButton::clicked, this, &MainDialog::OnOptions);

    gameButtons_ = new QButtonGroup(this);
    gameButtons_->setExclusive(true);
    const auto addGame = [&](const char* objectName, const char* text, int game, int x) {
        auto* radio = new QRadioButton(QString::fromUtf8(text), this);
        radio->setObjectName(QString::fromLatin1(objectName));
        units.Place(radio, x, 10, 55, 10);
        gameButtons_->addButton(radio, game);
    };
    addGame("pharaoButton", "Pharao", kPharao, 70);
    addGame("zeusButton", "Zeus", kZeus, 130);
    addGame("emperorButton", "DEK", kEmperor, 190);

    contentList_ = MakeListBox(this, "contentList", "Zipfile content",
                               "What the selected package holds, one line for each file the "
                               "game uses, with a letter for its kind.");
    units.Place(contentList_, 10, 250, 385, 85);

    addGame("caesar3Button", "Caesar III", kCaesar3, 10);

    QPushButton* help = MakeButton(this, "helpButton", QStringLiteral("Help"));
    units.Place(help, 270, 10, 40, 15);
    connect(help, &QPushButton::clicked, this, &MainDialog::OnHelpButton);

    QPushButton* start = MakeButton(this, "startButton", QStringLiteral("Start"));
    units.Place(start, 180, 34, 45, 35);
    connect(start, &QPushButton::clicked, this, &MainDialog::OnStart);

    // A click runs the selection, also on the game that is already selected.
    connect(gameButtons_, &QButtonGroup::idClicked, this, &MainDialog::SelectGame);
    connect(availableList_, &QListWidget::itemSelectionChanged, this,
            &MainDialog::OnAvailableSelChange);
    connect(installedList_, &QListWidget::itemSelectionChanged, this,
            &MainDialog::OnInstalledSelChange);
    connect(availableList_, &QListWidget::itemDoubleClicked, this, &MainDialog::OnAvailableDblClk);
    connect(installedList_, &QListWidget::itemDoubleClicked, this, &MainDialog::OnInstalledDblClk);
    connect(available, &ListBox::commandRequested, this, &MainDialog::OnAvailableDblClk);
    connect(installed, &ListBox::commandRequested, this, &MainDialog::OnInstalledDblClk);

    backupsAction_ = new QAction(QStringLiteral("Backups..."), this);
    connect(backupsAction_, &QAction::triggered, this, &MainDialog::OnBackups);
    addAction(backupsAction_);

    // Qt windows have no system menu to extend: the About command lives in the window's
    // context menu and on Ctrl+I.
    aboutAction_ = new QAction(QStringLiteral("Inf&o über QARN..."), this);
    aboutAction_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_I));
    aboutAction_->setShortcutContext(Qt::WindowShortcut);
    connect(aboutAction_, &QAction::triggered, this, &MainDialog::OnAbout);
    addAction(aboutAction_);
    setContextMenuPolicy(Qt::ActionsContextMenu);
    BuildFinderControls();

    setFixedSize(units.Size(407, 346));
}

bool MainDialog::InitDialog() {
    const std::vector<std::string> unusable = LoadGamePaths(paths_, settings_);
    if (!unusable.empty()) {
        QString text = QStringLiteral("These settings cannot be used and stay empty:\n\n");
        for (const std::string& line : unusable) text += QString::fromLocal8Bit(line) + '\n';
        services_.messages.ShowInformation(this, QStringLiteral("Wendmoor"), text);
    }
    if (!NeedsFirstStartAbout(paths_)) return true;
    // The window is not shown yet; put it where it will stand, in the middle of its screen,
    // so the About box appears over that place rather than in a corner.
    if (!isVisible() && screen() != nullptr) {
        move(screen()->availableGeometry().center() - rect().center());
    }
    AboutDialog about(this);
    connect(&about, &AboutDialog::readmeRequested, this, &MainDialog::OnHelpButton);
    if (!ContinuesAfterFirstStartAbout(services_.dialogs.Run(about))) return false;
    OfferFoundFolders();
    return true;
}

void MainDialog::MirrorSession() {
    FillListBox(availableList_, session_.Lists().available);
    FillListBox(installedList_, session_.Lists().installed);
    FillListBox(contentList_, session_.Content());
}

void MainDialog::SelectGame(int game) {
    const WaitCursor wait;
    // The lists empty at once, also while the options dialog asks for missing folders.
    ResetListBox(availableList_);
    ResetListBox(installedList_);
    ResetListBox(contentList_);
    waitNoticeShown_ = false;
    session_.SelectGame(game);
    MirrorSession();
}

bool MainDialog::KeepWaitingForLock(std::chrono::milliseconds waited) {
    // A command's own thread only tells the window, which shows it in the progress dialog.
    if (QThread::currentThread() != thread()) {
        waitingForLock_ = true;
        return true;
    }
    // Another Wendmoor process (a script, a second window) is installing or deinstalling; its
    // command is short, so the window waits, and says so once the wait becomes noticeable.
    if (waited >= kLockNoticeDelay && !waitNoticeShown_) {
        waitNoticeShown_ = true;
        FillListBox(contentList_, {kWaitingForLockText});
    }
    if (waitNoticeShown_) QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    return true;
}

void MainDialog::OnOptions() {
    {
        const NormalCursor normal;
        OptionsDialog dialog(paths_, services_.files, services_.messages, this);
        PrepareOptionsDialog(dialog);
        if (services_.dialogs.Run(dialog) != QDialog::Accepted) return;
    }
    // Saved before the refresh, which may ask for folders again.
    SaveFolders();
    if (session_.CurrentGame() != kNoGame) SelectGame(session_.CurrentGame());
}

void MainDialog::SaveFolders() {
    const Outcome saved = SaveGamePaths(paths_, settings_);
    if (saved.Ok()) return;
    QString text = QStringLiteral(
        "These folders could not be saved; Wendmoor uses them until it "
        "closes:\n\n");
    for (const std::string& line : saved.Lines()) text += QString::fromLocal8Bit(line) + '\n';
    services_.messages.ShowInformation(this, QStringLiteral("Wendmoor"), text);
}

}  // namespace wendmoor
