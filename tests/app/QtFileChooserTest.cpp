#include <filesystem>

#include <QApplication>
#include <QFileDialog>
#include <QLineEdit>
#include <QTimer>

#include "FakeSeams.h"
#include "widgets/QtSeams.h"

namespace wendmoor {
namespace {

using namespace testing;

// The real chooser, closed by the test as soon as it shows. One dialog serves every row, so
// what one row set must not stand in the next.
TEST(QtFileChooserTest, OpensInTheRequestedFolderAndWritesNoQtProjectConf) {
    TempDir temp;
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
        EXPECT_EQ(chooser.ChooseFile(ParentWindow{parent.get()}, request), std::nullopt);
        EXPECT_EQ(shown, expected);
    }
    const std::string configHome = qEnvironmentVariable("XDG_CONFIG_HOME").toStdString();
    ASSERT_FALSE(configHome.empty());
    EXPECT_FALSE(std::filesystem::exists(configHome + "/QtProject.conf"));
}

}  // namespace
}  // namespace wendmoor
