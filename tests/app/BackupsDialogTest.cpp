// The player's own save through install, deinstall and "Backups..." in the window.
#include <QListWidget>
#include <QRadioButton>
#include <QTreeWidget>

#include <cstdlib>

#include "FakeSeams.h"
#include "ZipWriter.h"
#include "app/BackupsDialog.h"
#include "packages/Games.h"
#include "widgets/ListBoxes.h"

namespace wendmoor {
namespace {

using testing::Accept;
using testing::ReadFileBytes;
using testing::Reject;
using testing::ScriptedDialogRunner;
using testing::WindowTest;
using testing::Work;
using testing::WriteFileBytes;
using testing::ZipWriter;

class BackupsDialogTest : public WindowTest {
  protected:
    void SetUp() override {
        WindowTest::SetUp();
        // The window finds its store where the environment says, as the program does.
        if (const char* old = std::getenv("XDG_DATA_HOME")) oldDataHome_ = old;
        ::setenv("XDG_DATA_HOME", (dir.path() + "data").c_str(), 1);
        paths = Caesar3Folders();
        save = paths.caesar3_path + "Rome.sav";
        ASSERT_TRUE(WriteFileBytes(save, "PLAYER-PROGRESS"));
        ASSERT_TRUE(ZipWriter()
                        .Add("Rome.map", "map")
                        .Add("Rome.sav", "package save")
                        .WriteTo(paths.caesar3_missions + "Rome.zip"));
        Open(paths);
        window->findChild<QRadioButton*>(QStringLiteral("caesar3Button"))->click();
    }

    void TearDown() override {
        WindowTest::TearDown();
        if (oldDataHome_) {
            ::setenv("XDG_DATA_HOME", oldDataHome_->c_str(), 1);
        } else {
            ::unsetenv("XDG_DATA_HOME");
        }
    }

    void Run(QListWidget* list, void (MainDialog::*command)()) {
        list->setCurrentRow(0);
        (window.get()->*command)();
    }

    // "Backups...", restoring the newest backup; `question` answers whether to replace
    // changed files, when that is asked.
    void RestoreNewest(std::optional<ScriptedDialogRunner::Answer> question = std::nullopt) {
        dialogs.Expect(Work<BackupsDialog>([](BackupsDialog& dialog) {
            ASSERT_GE(dialog.List()->topLevelItemCount(), 1);
            dialog.OnRestore();
            dialog.accept();
        }));
        if (question) dialogs.Expect(*question);
        window->OnBackups();
        EXPECT_EQ(dialogs.Pending(), 0u);
        EXPECT_EQ(dialogs.unexpected, 0);
    }

    GamePaths paths;
    std::string save;

  private:
    std::optional<std::string> oldDataHome_;
};

TEST_F(BackupsDialogTest, TheOwnSaveComesBackAndChangesSinceAreReplacedOnlyWhenConfirmed) {
    Run(window->AvailableList(), &MainDialog::OnInstall);
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_TRUE(messages.shown[0].second.contains(QString::fromLocal8Bit(save)))
        << messages.shown[0].second.toStdString();
    EXPECT_TRUE(messages.shown[0].second.contains(QStringLiteral("QARN/backups/caesar3-")));

    // Played on since: "No" leaves the save, "Yes" keeps it and restores.
    ASSERT_TRUE(WriteFileBytes(save, "PLAYED ON"));
    RestoreNewest(Reject());
    EXPECT_EQ(dialogs.titles.back(), QString::fromLatin1(BackupsDialog::kForceQuestionTitle));
    EXPECT_EQ(ReadFileBytes(save), "PLAYED ON");
    RestoreNewest(Accept());
    EXPECT_EQ(ReadFileBytes(save), "PLAYER-PROGRESS");
    EXPECT_TRUE(messages.shown.back().second.startsWith(QStringLiteral("Put back from")));
    EXPECT_TRUE(
        messages.shown.back().second.contains(QStringLiteral("what they held was kept in")));
    EXPECT_EQ(ListBackups(dir.path() + "data/QARN/backups/", "caesar3").size(), 2u);
}

TEST_F(BackupsDialogTest, OpenFolderShowsTheBackupsFolder) {
    Run(window->AvailableList(), &MainDialog::OnInstall);
    dialogs.Expect(Work<BackupsDialog>([](BackupsDialog& dialog) {
        dialog.OnOpenFolder();
        dialog.accept();
    }));
    window->OnBackups();
    ASSERT_EQ(launcher.calls.size(), 1u);
    EXPECT_EQ(launcher.calls[0].first,
              ListBackups(dir.path() + "data/QARN/backups/", "caesar3").at(0).folder);
}

}  // namespace
}  // namespace wendmoor
