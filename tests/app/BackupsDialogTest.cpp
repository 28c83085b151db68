// The player's own save through install and "Backups..." in the window. What a restore may
// replace and what it keeps is the store's (tests/packages/BackupStoreTest.cpp); the window
// reports kept files, asks before replacing changed ones and obeys the answer.
#include <QListWidget>
#include <QTreeWidget>

#include "FakeSeams.h"
#include "ScopedVariable.h"
#include "app/BackupsDialog.h"

namespace wendmoor {
namespace {

using namespace testing;

class BackupsDialogTest : public WindowTest {
  protected:
    void SetUp() override {
        WindowTest::SetUp();
        OpenOnCaesar3({{"Rome.zip", ZipWriter().Add("Rome.map", "m").Add("Rome.sav", "s")}});
        ASSERT_TRUE(WriteFileBytes(save, "PLAYER-PROGRESS"));
        window->AvailableList()->setCurrentRow(0);
        window->OnInstall();
    }

    // "Backups...", restoring the newest backup; `replace` answers whether to replace the
    // files changed since.
    void RestoreNewest(bool replace) {
        messages.answers = {replace};
        dialogs.Expect(Work<BackupsDialog>([](BackupsDialog& dialog) {
            ASSERT_GE(dialog.List()->topLevelItemCount(), 1);
            dialog.OnRestore();
            dialog.accept();
        }));
        window->OnBackups();
        EXPECT_EQ(dialogs.Pending(), 0u);
        EXPECT_EQ(dialogs.unexpected, 0);
    }

    // The window finds its store where the environment says, as the program does.
    const ScopedVariable dataHome{"XDG_DATA_HOME", dir.path() + "data"};
    const std::string save = dir.path() + "Caesar3/Rome.sav";
};

TEST_F(BackupsDialogTest, TheKeptSaveIsReportedRestoredOnlyWhenConfirmedAndItsFolderOpened) {
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_NE(messages.shown[0].second.find(save), std::string::npos) << messages.shown[0].second;
    EXPECT_NE(messages.shown[0].second.find("QARN/backups/caesar3-"), std::string::npos);

    // Played on since: the restore asks (BackupsListTest) and, confirmed, puts the save back.
    ASSERT_TRUE(WriteFileBytes(save, "PLAYED ON"));
    RestoreNewest(true);
    EXPECT_EQ(messages.asked.size(), 1u);
    EXPECT_EQ(ReadFileBytes(save), "PLAYER-PROGRESS");
    EXPECT_EQ(messages.shown.back().second.rfind("Put back from", 0), 0u);
    EXPECT_NE(messages.shown.back().second.find("what they held was kept in"), std::string::npos);

    dialogs.Expect(Work<BackupsDialog>([](BackupsDialog& dialog) {
        dialog.OnOpenFolder();
        dialog.accept();
    }));
    window->OnBackups();
    const std::string folder =
        ListBackups(dir.path() + "data/QARN/backups/", "caesar3").at(0).folder;
    EXPECT_EQ(launcher.calls, (std::vector<std::pair<std::string, std::string>>{{folder, folder}}));
}

}  // namespace
}  // namespace wendmoor
