// The wendmoor program: runs the main window as a modal dialog and ends when it closes. The
// command line is read first, so --help and --version answer without a display.
#include <iostream>

#include <QApplication>
#include <QLibraryInfo>
#include <QTranslator>

#include "app/MainDialog.h"
#include "finder/FinderPlaces.h"
#include "platform/Collation.h"
#include "platform/Launcher.h"
#include "platform/ProcessSetup.h"
#include "platform/SettingsStore.h"
#include "platform/Version.h"
#include "ui/WindowArguments.h"
#include "widgets/QtSeams.h"
#include "widgets/TemplatePage.h"

int main(int argc, char** argv) {
    using namespace wendmoor;
    const WindowCommandLine command =
        ParseWindowCommandLine(std::vector<std::string>(argv + 1, argv + argc));
    switch (command.kind) {
        case WindowCommandLine::Kind::Help:
            std::cout << kWindowUsage;
            return 0;
        case WindowCommandLine::Kind::Version:
            std::cout << "wendmoor " << kVersionText << '\n';
            return 0;
        case WindowCommandLine::Kind::UsageError:
            std::cerr << "wendmoor: " << command.usageError << '\n' << kWindowUsage;
            return 2;
        case WindowCommandLine::Kind::Run:
            break;
    }
    PrepareProcessForFileWrites();
    // Qt reads no options of its own either: every argument was taken above.
    int qtArgumentCount = 1;
    QApplication app(qtArgumentCount, argv);
    QApplication::setWindowIcon(AppIcon());
    // QApplication has made the user's locale the C library's; the lists' order rests on it,
    // so it is said here as in the command-line tool.
    UseUsersCollation();
    // Qt's own texts (the file chooser, "Show Details...") in the user's language, when the
    // system has Qt's translations for it.
    QTranslator translator;
    if (translator.load(QLocale(), "qtbase", "_",
                        QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&translator);

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
    // Escape in the first start's About box ends the program before the window shows.
    if (!dialog.InitDialog()) return 0;
    QMetaObject::invokeMethod(
        &dialog, [&] { dialog.AddFilesFromCommandLine(command.files); }, Qt::QueuedConnection);
    dialog.exec();
    return 0;
}
