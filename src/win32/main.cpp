// The wendmoor program on Windows: the main window runs until it closes. The command line is
// read first; --help and --version answer in a box, as a program without a console can.
#include <memory>
#include <string>
#include <vector>

#include "finder/FinderPlaces.h"
#include "platform/Collation.h"
#include "platform/Launcher.h"
#include "platform/ProcessSetup.h"
#include "platform/ProgramArguments.h"
#include "platform/SettingsStore.h"
#include "platform/Version.h"
#include "ui/MainWindowState.h"
#include "ui/WindowArguments.h"
#include "ui/WindowTexts.h"
#include "win32/MainWindow.h"
#include "win32/WideText.h"
#include "win32/Win32Seams.h"

namespace wendmoor {

namespace {

// The system's answers to every seam of the window, for the whole run.
struct SystemSeams {
    Win32MessageBoxes messages;
    Win32FileChooser files;
    std::unique_ptr<Launcher> launcher = CreateSystemLauncher();
    Win32FolderPicker folderPicker;
    Win32PackageFileChooser packageFiles;
    Win32SameNameQuestion sameName;
    FinderServices finder{PlacesFromEnvironment(), folderPicker, packageFiles, sameName};
    Win32Services services{messages, files, *launcher, &finder};
};

int RunWindow(const std::vector<std::string>& packages) {
    SystemSeams seams;
    const std::unique_ptr<SettingsStore> settings = OpenProgramSettings();
    MainWindow window(*settings, seams.services);
    // Leaving the first-start About box with Escape or its close box ends the program with
    // status 0, before the window is shown.
    if (!window.InitDialog()) return 0;
    window.Run(packages);
    return 0;
}

void ShowText(const std::string& text, bool error) {
    MessageBoxW(nullptr, ShownText(text).c_str(), ShownText(kAppCaption).c_str(),
                error ? MB_ICONWARNING : MB_ICONINFORMATION);
}

}  // namespace

}  // namespace wendmoor

int main(int argc, char** argv) {
    using wendmoor::WindowCommandLine;
    const WindowCommandLine command =
        wendmoor::ParseWindowCommandLine(wendmoor::ProgramArguments(argc, argv));
    switch (command.kind) {
        case WindowCommandLine::Kind::Help:
            wendmoor::ShowText(wendmoor::kWindowUsage, false);
            return 0;
        case WindowCommandLine::Kind::Version:
            wendmoor::ShowText(std::string("wendmoor ") + wendmoor::kVersionText, false);
            return 0;
        case WindowCommandLine::Kind::UsageError:
            wendmoor::ShowText(command.usageError + '\n' + wendmoor::kWindowUsage, true);
            return 2;
        case WindowCommandLine::Kind::Run:
            break;
    }
    wendmoor::PrepareProcessForFileWrites();
    wendmoor::UseUsersCollation();
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES | ICC_LISTVIEW_CLASSES |
                                                       ICC_PROGRESS_CLASS | ICC_LINK_CLASS};
    InitCommonControlsEx(&controls);
    return wendmoor::RunWindow(command.files);
}
