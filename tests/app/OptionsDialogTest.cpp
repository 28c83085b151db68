#include "settings/dialog/OptionsDialog.h"

#include <filesystem>

#include <QApplication>
#include <QFileDialog>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

#include <gtest/gtest.h>

#include "FakeSeams.h"
#include "TempDir.h"
#include "widgets/DialogUnits.h"
#include "widgets/QtSeams.h"

namespace wendmoor {
namespace {

using testing::RecordingMessageBoxes;
using testing::ScriptedFileChooser;

struct RowCase {
    int buttonId;
    const char* initialText;
    bool programRow;
    const char* spokenName;
};

// Top to bottom.
const RowCase kRowCases[] = {
    {1046, "locate Caesar3 missions folder", false, "Caesar III missions folder"},
    {1044, "C3.exe", true, "Caesar III game folder"},
    {1036, "locate Pharao missions folder", false, "Pharao missions folder"},
    {1028, "Pharaoh.exe", true, "Pharao game folder"},
    {1038, "locate Pharao Save folder", false, "Pharao save-game folder"},
    {1034, "locate Zeus missions folder", false, "Zeus missions folder"},
    {1030, "Zeus.exe", true, "Zeus game folder"},
    {1040, "locate Zeus Save folder", false, "Zeus save-game folder"},
    {1026, "locate Emperor missions folder", false, "Emperor missions folder"},
    {1032, "Emperor.exe", true, "Emperor game folder"},
    {1042, "locate Emperor Save folder", false, "Emperor save-game folder"},
};

class OptionsDialogTest : public ::testing::Test {
  protected:
    QPushButton* Button(OptionsDialog& dialog, int id) {
        return dialog.findChild<QPushButton*>(QString::number(id));
    }
    QString Field(OptionsDialog& dialog, int id) {
        return dialog.findChild<QLineEdit*>(QString::number(id))->text();
    }

    GamePaths paths;
    ScriptedFileChooser files;
    RecordingMessageBoxes messages;
};

TEST_F(OptionsDialogTest, EachRowStartsWithItsTextAndProgramRowsOfferTheirPattern) {
    OptionsDialog dialog(paths, files, messages);
    for (const RowCase& row : kRowCases) Button(dialog, row.buttonId)->click();  // all cancelled
    ASSERT_EQ(files.requests.size(), std::size(kRowCases));
    for (std::size_t i = 0; i < std::size(kRowCases); ++i) {
        const RowCase& row = kRowCases[i];
        const FileChoiceRequest& request = files.requests[i];
        SCOPED_TRACE(row.initialText);
        EXPECT_EQ(request.initialText, row.initialText);
        EXPECT_EQ(request.pattern, row.programRow ? row.initialText : "");
        EXPECT_EQ(request.fileMustExist, row.programRow);
    }
    EXPECT_EQ(dialog.WorkingPaths(), GamePaths());  // cancelled browsing changes nothing
}

TEST_F(OptionsDialogTest, TheChosenFilesFolderIsKeptWithItsSeparator) {
    OptionsDialog dialog(paths, files, messages);
    files.Answer("/home/player/Zeus/Save/locate Zeus Save folder");
    Button(dialog, 1040)->click();
    EXPECT_EQ(dialog.WorkingPaths().zeus_saves, "/home/player/Zeus/Save/");
    EXPECT_EQ(Field(dialog, 1039), QStringLiteral("/home/player/Zeus/Save/"));

    files.Answer("/home/player/missions/any.zip");
    Button(dialog, 1046)->click();
    EXPECT_EQ(dialog.WorkingPaths().caesar3_missions, "/home/player/missions/");
}

TEST_F(OptionsDialogTest, AFileInTheRootGivesTheRoot) {
    OptionsDialog dialog(paths, files, messages);
    files.Answer("/Zeus.exe");
    Button(dialog, 1030)->click();
    EXPECT_EQ(dialog.WorkingPaths().zeus_path, "/");
}

TEST_F(OptionsDialogTest, FolderBytesSurvive) {
    OptionsDialog dialog(paths, files, messages);
    const std::string folder = "/games/Pharao \xe4\xff/";
    files.Answer(folder + "Pharaoh.exe");
    Button(dialog, 1028)->click();
    EXPECT_EQ(dialog.WorkingPaths().pharao_path, folder);
}

TEST_F(OptionsDialogTest, AnotherGameFolderEmptiesThatGamesSaves) {
    paths.pharao_path = "/games/Pharao/";
    paths.pharao_saves = "/games/Pharao/Save/";
    paths.zeus_path = "/games/Zeus/";
    paths.zeus_saves = "/games/Zeus/Save/";
    paths.emperor_path = "/games/Emperor/";
    paths.emperor_saves = "/games/Emperor/Save/";
    OptionsDialog dialog(paths, files, messages);

    files.Answer("/games/Pharao/PHARAOH.EXE");  // the same folder: saves kept
    Button(dialog, 1028)->click();
    EXPECT_EQ(dialog.WorkingPaths().pharao_saves, "/games/Pharao/Save/");

    files.Answer("/games/zeus/Zeus.exe");  // another letter case is another folder
    Button(dialog, 1030)->click();
    EXPECT_EQ(dialog.WorkingPaths().zeus_path, "/games/zeus/");
    EXPECT_EQ(dialog.WorkingPaths().zeus_saves, "");
    EXPECT_EQ(Field(dialog, 1039), QString());

    files.Answer("/other/Emperor/Emperor.exe");
    Button(dialog, 1032)->click();
    EXPECT_EQ(dialog.WorkingPaths().emperor_path, "/other/Emperor/");
    EXPECT_EQ(dialog.WorkingPaths().emperor_saves, "");
    EXPECT_EQ(dialog.WorkingPaths().pharao_saves, "/games/Pharao/Save/");
}

TEST_F(OptionsDialogTest, Caesar3GameFolderEmptiesNothing) {
    paths.caesar3_missions = "/missions/c3/";
    paths.caesar3_path = "/games/C3/";
    OptionsDialog dialog(paths, files, messages);
    files.Answer("/games/Caesar3/c3.exe");
    Button(dialog, 1044)->click();
    EXPECT_EQ(dialog.WorkingPaths().caesar3_path, "/games/Caesar3/");
    EXPECT_EQ(dialog.WorkingPaths().caesar3_missions, "/missions/c3/");
}

TEST_F(OptionsDialogTest, OkCopiesTheWorkingFoldersBack) {
    paths.zeus_saves = "/old/";
    OptionsDialog dialog(paths, files, messages);
    files.Answer("/games/Zeus/Zeus.exe");
    Button(dialog, 1030)->click();
    EXPECT_EQ(paths.zeus_path, "");  // not before OK
    Button(dialog, 1)->click();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(paths.zeus_path, "/games/Zeus/");
    EXPECT_EQ(paths.zeus_saves, "");
}

TEST_F(OptionsDialogTest, CancelLeavesTheCallersFolders) {
    paths.pharao_path = "/games/Pharao/";
    paths.pharao_saves = "/games/Pharao/Save/";
    const GamePaths before = paths;
    OptionsDialog dialog(paths, files, messages);
    files.Answer("/elsewhere/Pharaoh.exe");
    Button(dialog, 1028)->click();
    Button(dialog, 2)->click();
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_EQ(paths, before);
}

TEST_F(OptionsDialogTest, BrowseForFileWithoutADotOffersNoPattern) {
    OptionsDialog dialog(paths, files, messages);
    std::string buffer = "locate somewhere";
    files.Answer("/a/b/c");
    EXPECT_TRUE(dialog.BrowseForFile(buffer));
    EXPECT_EQ(buffer, "/a/b/");
    EXPECT_EQ(files.requests.back().pattern, "");
    EXPECT_FALSE(files.requests.back().fileMustExist);

    buffer = "C3.exe";
    EXPECT_FALSE(dialog.BrowseForFile(buffer));  // cancelled
    EXPECT_EQ(buffer, "C3.exe");
}

TEST_F(OptionsDialogTest, AFolderTooLongToStoreIsRefusedAndTheChooserOpensAgainOnIt) {
    testing::TempDir temp;
    const std::string tooLong =
        temp.MakeFolder(std::string(200, 'x') + "/" + std::string(100, 'y'));
    ASSERT_GT(tooLong.size(), kMaxStoredPathLength);
    const std::string shorter = temp.MakeFolder("Zeus");
    OptionsDialog dialog(paths, files, messages);
    files.Answer(tooLong + "Zeus.exe");
    files.Answer(shorter + "Zeus.exe");
    Button(dialog, 1030)->click();

    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].first, QStringLiteral("Path too long"));
    EXPECT_TRUE(messages.shown[0].second.contains(QStringLiteral("at most 259 bytes")));
    ASSERT_EQ(files.requests.size(), 2u);
    EXPECT_EQ(files.requests[1].initialFolder, tooLong);
    EXPECT_EQ(files.requests[1].pattern, "Zeus.exe");
    EXPECT_EQ(dialog.WorkingPaths().zeus_path, shorter);
}

// --- where the chooser opens, names for screen readers, tab order ----------------------

TEST_F(OptionsDialogTest, TheChooserOpensInTheRowsFolderOrTheNearestOneAboveIt) {
    testing::TempDir temp;
    const std::string zeus = temp.MakeFolder("Zeus");
    const std::string saves = temp.MakeFolder("Zeus/Save");
    paths.zeus_path = zeus;                         // the program row: its program's folder
    paths.zeus_saves = temp.path() + "ZEUS/save/";  // another letter case on disk
    paths.zeus_missions = zeus + "Gone/Deeper/";    // gone: the nearest existing folder
    paths.pharao_missions = "relative/nowhere/";    // nothing exists: the chooser decides
    const std::pair<int, std::string> cases[] = {
        {1030, zeus}, {1040, saves}, {1034, zeus}, {1036, ""}, {1042, ""},
    };
    OptionsDialog dialog(paths, files, messages);
    for (const auto& [button, folder] : cases) Button(dialog, button)->click();
    ASSERT_EQ(files.requests.size(), std::size(cases));
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        EXPECT_EQ(files.requests[i].initialFolder, cases[i].second) << cases[i].first;
    }
}

TEST_F(OptionsDialogTest, FieldsAndButtonsAreNamedAndTabbedRowByRow) {
    OptionsDialog dialog(paths, files, messages);
    std::vector<QString> expectedOrder;
    for (const RowCase& row : kRowCases) {
        SCOPED_TRACE(row.spokenName);
        const auto* field = dialog.findChild<QLineEdit*>(QString::number(row.buttonId - 1));
        QPushButton* button = Button(dialog, row.buttonId);
        EXPECT_EQ(field->accessibleName(), QString::fromUtf8(row.spokenName));
        EXPECT_EQ(button->accessibleName(),
                  QStringLiteral("Browse for the ") + QString::fromUtf8(row.spokenName));
        EXPECT_FALSE(field->accessibleDescription().isEmpty());
        EXPECT_FALSE(button->accessibleDescription().isEmpty());
        expectedOrder.push_back(field->objectName());
        expectedOrder.push_back(button->objectName());
    }
    expectedOrder.push_back(QStringLiteral("2"));  // Cancel, then OK, as they stand below
    expectedOrder.push_back(QStringLiteral("1"));

    std::vector<QString> order;
    QWidget* widget = Button(dialog, 1);
    while (order.size() < expectedOrder.size()) {
        widget = widget->nextInFocusChain();
        if (widget->focusPolicy() & Qt::TabFocus) order.push_back(widget->objectName());
    }
    EXPECT_EQ(order, expectedOrder);
}

// The real chooser, closed by the test as soon as it shows. One dialog serves every row, so
// what one row set must not stand in the next.
TEST(QtFileChooserTest, OpensInTheRequestedFolderAndWritesNoQtProjectConf) {
    testing::TempDir temp;
    const std::string folder = temp.MakeFolder("Zeus");
    std::string shown;  // folder | file types | name box
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [&shown] {
        if (auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget())) {
            const auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
            shown = QFile::encodeName(dialog->directory().absolutePath() + "/|" +
                                      dialog->nameFilters().join(';') + '|' +
                                      (name != nullptr ? name->text() : QStringLiteral("?")))
                        .toStdString();
            dialog->reject();
        }
    });
    closer.start(10);
    QtFileChooser chooser;
    const std::pair<FileChoiceRequest, std::string> cases[] = {
        {{"Zeus.exe", "Zeus.exe", true, folder},
         folder + "|Zeus.exe ([Zz][Ee][Uu][Ss].[Ee][Xx][Ee])|Zeus.exe"},
        {{"locate Zeus Save folder", "", false, folder}, folder + "|All Files (*)|"},
    };
    for (const auto& [request, expected] : cases) {
        // The options dialog that lends the chooser its parent closes after each use.
        const auto parent = std::make_unique<QWidget>();
        shown.clear();
        EXPECT_EQ(chooser.ChooseFile(parent.get(), request), std::nullopt);
        EXPECT_EQ(shown, expected);
    }
    const std::string configHome = qEnvironmentVariable("XDG_CONFIG_HOME").toStdString();
    ASSERT_FALSE(configHome.empty());
    EXPECT_FALSE(std::filesystem::exists(configHome + "/QtProject.conf"));
}

}  // namespace
}  // namespace wendmoor
