// The wendmoor program: the application object runs the main window as a modal dialog and
// the program ends when that dialog closes.
#include <cstdlib>
#include <memory>

#include <QApplication>

#include "app/MainDialog.h"
#include "finder/FinderPlaces.h"
#include "platform/Collation.h"
#include "platform/Launcher.h"
#include "platform/ProcessSetup.h"
#include "platform/SettingsStore.h"
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

}  // namespace

// The one application object; InitInstance runs the window and answers the program's exit
// status.
class MainApp : public QApplication {
  public:
    MainApp(int& argc, char** argv) : QApplication(argc, argv) { setWindowIcon(AppIcon()); }

    int InitInstance() {
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
        dialog.exec();  // its result is not consulted
        return 0;
    }
};

}  // namespace wendmoor

int main(int argc, char** argv) {
    wendmoor::PrepareProcessForFileWrites();
    wendmoor::MainApp app(argc, argv);
    // QApplication has made the user's locale the C library's for every category already;
    // the lists' order rests on it, so it is said here as in the command-line tool.
    wendmoor::UseUsersCollation();
    return app.InitInstance();
}
