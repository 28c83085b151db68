// The texts the windows show, made from the core's results.
#include "ui/WindowTexts.h"

#include <gtest/gtest.h>

#include "archive/CommandProgress.h"
#include "backups/BackupStore.h"
#include "platform/Launcher.h"
#include "platform/Outcome.h"

namespace wendmoor {
namespace {

// The "Error" box: the system's reason, then one blank, the file, two blanks, "in", two blanks,
// the folder; a blank inside a path stays as it is.
TEST(WindowTextsTest, TheErrorTextKeepsItsForm) {
    const struct {
        std::string reason;
        std::string expected;
    } cases[] = {
        {"No such file or directory\n",
         "No such file or directory\n 'qarn_readme.htm'  in  '/opt/my games/'"},
        {"", " 'qarn_readme.htm'  in  '/opt/my games/'"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ShellErrorText(LaunchFailure{c.reason, {}}, "qarn_readme.htm", "/opt/my games/"),
                  c.expected);
    }
}

// A cancelled install says so, whatever the core's words for it; a failed command lists its
// failures; the kept files follow; a command that did all and kept nothing says nothing.
TEST(WindowTextsTest, TheCommandReportSaysWhatHappened) {
    const Outcome cancelled =
        Outcome::Failed("the install", "cancelled before any file was replaced");
    const Outcome failed = Outcome::Failed("/games/C3/Rome.map", "Permission denied");
    const KeptFiles none;
    const KeptFiles kept{"/home/p/.local/share/QARN/backups/c3-1/", {"/games/C3/Rome.sav"}};
    const struct {
        bool install;
        const Outcome& outcome;
        const KeptFiles& kept;
        bool cancelled;
        std::string startsWith;
    } cases[] = {
        {true, cancelled, none, true, "Cancelled: nothing was replaced."},
        {true, failed, none, false, "Not everything could be installed:\n\n/games/C3/Rome.map: "},
        {false, failed, none, false, "Not everything could be deinstalled:"},
        {true, Outcome(), kept, false, "Before these files were replaced or deleted"},
        {true, Outcome(), none, true, ""},  // the cancel came after the last rename
    };
    for (const auto& c : cases) {
        const std::string text = CommandReport(c.install, c.outcome, c.kept, c.cancelled);
        EXPECT_EQ(text.substr(0, c.startsWith.size()), c.startsWith) << text;
        EXPECT_EQ(text.empty(), c.startsWith.empty()) << text;
        EXPECT_EQ(text.find("/games/C3/Rome.sav") != std::string::npos, !c.kept.files.empty());
    }
}

// Every step of both commands counts the files done of all files, and the bytes while the
// package's files are written or deleted; the bar follows them.
TEST(WindowTextsTest, ProgressCountsAlikeInEveryStep) {
    CommandProgress files;
    files.Begin(4, 2'000'000);
    files.StartFile("Rome.map");
    files.FinishFile();
    files.AddBytes(500'000);
    CommandProgress backingUp;
    backingUp.Begin(4, 2'000'000);
    backingUp.StartBackingUp(2);
    backingUp.StartFile("/games/C3/Rome.map");
    backingUp.FinishFile();
    CommandProgress cancelled;
    cancelled.Cancel();
    const std::string counts = ": 1 of 4 files done, 0.5 of 2.0 MB\nRome.map";
    const struct {
        bool install;
        const CommandProgress& progress;
        bool waiting;
        std::string text;
        int permille;
    } cases[] = {
        {true, files, false, "Installing rome.zip\nWriting the package's files" + counts, 250},
        {false, files, false, "Deinstalling rome.zip\nDeleting the package's files" + counts, 250},
        {true, backingUp, false,
         "Installing rome.zip\nBacking up your files it replaces: 1 of 2 files done\n"
         "/games/C3/Rome.map",
         500},
        {true, cancelled, true,
         "Cancelling the install of rome.zip: nothing is replaced, the files written so far are "
         "removed ...\nWaiting for another Wendmoor command to finish: 0 of 0 files done\n",
         0},
    };
    for (const auto& c : cases) {
        const ProgressView view = CommandProgressView(c.install, "rome.zip", c.progress, c.waiting);
        EXPECT_EQ(view.text, c.text);
        EXPECT_EQ(view.permille, c.permille);
    }
}

}  // namespace
}  // namespace wendmoor
