// The wendmoor program: the application object runs the main window as a modal dialog and
// the program ends when that dialog closes. The command line is read first, so --help and
// --version answer without a display.
#include <cstdlib>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include "app/MainDialog.h"
#include "finder/FinderPlaces.h"
#include "platform/Collation.h"
#include "platform/Launcher.h"
#include "platform/ProcessSetup.h"
#include "platform/SettingsStore.h"
#include "platform/Version.h"
#include "ui/WindowArguments.h"
#include "widgets/AppIcon.h"
#include "widgets/QtFinderSeams.h"
#include "widgets/QtSeams.h"

namespace wendmoor {

namespace {

// The settings the program uses: the platform's default store, unless the environment
// variable WENDMOOR_SETTINGS names an INI file to use instead (the sample set-up and the
// screenshots use that, so a trial never touches the user's own settings).
std::unique_ptr<SettingsStore> OpenProgramSettings() {
    const char* file = std::getenv("WENDMOOR_SETTINGS");
    if (file != nullptr && *file != '\0') return OpenIniSettingsStore(file);
    return OpenDefaultSettingsStore();
}

// Qt's own texts (the file chooser, "Show Details...") in the user's language, when the system
// has Qt's translations for it; English otherwise.
void LoadQtTranslations(QApplication& app) {
    auto* translator = new QTranslator(&app);
    if (translator->load(QLocale(), QStringLiteral("qtbase"), QStringLiteral("_"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        QApplication::installTranslator(translator);
    } else {
        delete translator;
    }
}

}  // namespace

// The one application object; InitInstance runs the window and answers the program's exit
// status.
class MainApp : public QApplication {
  public:
    MainApp(int& argc, char** argv) : QApplication(argc, argv) { setWindowIcon(AppIcon()); }

    // `packages` are added to a game's missions folder once the window shows.
    int InitInstance(const std::vector<std::string>& packages) {
        QtDialogRunner dialogs;
        QtMessageBoxes messages;
        QtFileChooser files;
        const std::unique_ptr<Launcher> launcher = CreateSystemLauncher();
        QtFolderPicker folderPicker;
        QtPackageFileChooser packageFiles;
        QtSameNameQuestion sameName;
        FinderServices finder{PlacesFromEnvironment(), folderPicker, packageFiles, sameName};
        GuiServices services{dialogs, messages, files, *launcher, &finder};
        const std::unique_ptr<SettingsStore> settings = OpenProgramSettings();

        MainDialog dialog(*settings, services);
        // Leaving the first-start About box with Escape or its close box ends the program
        // with status 0, before the window is shown.
        if (!dialog.InitDialog()) return 0;
        QMetaObject::invokeMethod(
            &dialog, [&dialog, &packages] { dialog.AddFilesFromCommandLine(packages); },
            Qt::QueuedConnection);
        dialog.exec();  // its result is not consulted
        return 0;
    }
};

}  // namespace wendmoor

int main(int argc, char** argv) {
    using wendmoor::WindowCommandLine;
    const WindowCommandLine command =
        wendmoor::ParseWindowCommandLine(std::vector<std::string>(argv + 1, argv + argc));
    switch (command.kind) {
        case WindowCommandLine::Kind::Help:
            std::cout << wendmoor::kWindowUsage;
            return 0;
        case WindowCommandLine::Kind::Version:
            std::cout << "wendmoor " << wendmoor::kVersionText << '\n';
            return 0;
        case WindowCommandLine::Kind::UsageError:
            std::cerr << "wendmoor: " << command.usageError << '\n' << wendmoor::kWindowUsage;
            return 2;
        case WindowCommandLine::Kind::Run:
            break;
    }
    wendmoor::PrepareProcessForFileWrites();
    // Qt reads no options of its own either: every argument was taken above.
    int qtArgumentCount = 1;
    wendmoor::MainApp app(qtArgumentCount, argv);
    // QApplication has made the user's locale the C library's for every category already;
    // the lists' order rests on it, so it is said here as in the command-line tool.
    wendmoor::UseUsersCollation();
    wendmoor::LoadQtTranslations(app);
    return app.InitInstance(command.files);
}
