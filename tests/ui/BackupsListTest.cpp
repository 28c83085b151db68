// The backups list: its rows and how a restore asks before replacing changed files. What a
// restore does to the files is the store's (tests/packages/BackupStoreTest.cpp).
#include "ui/BackupsList.h"

#include <gtest/gtest.h>

#include "UiFakes.h"

namespace wendmoor {
namespace {

using namespace testing;

TEST(BackupsListTest, ARestoreOfChangedFilesAsksAndObeysTheAnswer) {
    BackupInfo backup;
    backup.name = "caesar3-20240501-142310";
    backup.time = "2024-05-01 14:23:10";
    backup.package = "rome.zip";
    backup.command = "install";
    backup.files.resize(2);
    std::vector<bool> restores;  // the force flag of each restore asked for
    BackupsList list([&] { return std::vector<BackupInfo>{backup}; },
                     [&](const std::string& name, bool force) {
                         EXPECT_EQ(name, backup.name);
                         restores.push_back(force);
                         RestoreResult result;
                         result.needsForce = !force;
                         result.conflicts = {"/games/C3/Rome.sav"};
                         if (force) result.restored = {"/games/C3/Rome.sav"};
                         return result;
                     });
    const auto row = list.RowTexts(0);
    EXPECT_EQ(row[0] + '|' + row[2] + '|' + row[3] + '|' + row[4],
              backup.name + "|rome.zip|install|2");

    RecordingMessageBoxes messages;
    EXPECT_EQ(list.Restore(0, messages, {}), "");  // declined: nothing replaced
    EXPECT_EQ(restores, std::vector<bool>({false}));
    ASSERT_EQ(messages.asked.size(), 1u);
    EXPECT_EQ(messages.asked[0].first, "Replace changed files?");
    EXPECT_NE(messages.asked[0].second.find("/games/C3/Rome.sav"), std::string::npos);

    messages.answers = {true};
    const std::string report = list.Restore(0, messages, {});
    EXPECT_EQ(restores, std::vector<bool>({false, false, true}));
    EXPECT_EQ(report.rfind("Put back from the backup " + backup.name + ":", 0), 0u) << report;
}

}  // namespace
}  // namespace wendmoor
