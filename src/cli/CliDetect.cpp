#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "cli/CliCommands.h"
#include "cli/CliIntake.h"
#include "cli/CliText.h"
#include "finder/FinderPlaces.h"
#include "finder/FolderFill.h"
#include "platform/IniLine.h"
#include "settings/GamePaths.h"

namespace wendmoor {

namespace {

void PrintRow(const GamePathField& field, const RowFill& row, const GamePaths& paths,
              std::ostream& out) {
    const std::size_t count = row.candidates.size();
    for (std::size_t i = 0; i < count; ++i) {
        const FoundFolder& found = row.candidates[i];
        out << "; " << field.name;
        if (count > 1) out << " candidate " << i + 1 << " of " << count;
        if (count > 1 && row.taken == i) out << ", taken";
        out << ": " << PrintableName(found.folder) << " (" << PrintableName(found.origin) << ")\n";
        if (found.proposed && row.taken == i) {
            out << ";   make it before this file is used, or accept it in the window, which makes "
                   "it\n";
        }
    }
    if (row.taken) out << IniSettingsLine(field.name, paths.*field.member) << '\n';
}

}  // namespace

int RunDetect(const FinderPlaces& places, std::ostream& out, std::ostream& err) {
    const GameFindings findings = FindGames(places);
    GamePaths paths;
    const std::vector<RowFill> rows =
        FillEmptyFolders(paths, findings, places, [](auto&, auto&) { return std::size_t{0}; });

    out << "; Game folders found by wendmoor-cli detect, as a settings file: lines that begin\n"
           "; with \";\" are comments. Save it with: wendmoor-cli detect > my.ini\n"
           "[General]\n";
    for (const GamePathField& field : kGamePathFields) {
        for (const RowFill& row : rows) {
            if (row.field == field.member) PrintRow(field, row, paths, out);
        }
    }
    if (findings.StoppedEarly()) PrintFailure(err, findings.StoppedEarlyNote());
    if (findings.Empty()) {
        err << "wendmoor-cli: no game folder found\n";
        return kExitFailure;
    }
    return kExitSuccess;
}

int RunDetectHere(const CliRequest&, GamePaths&, FileSystem&, std::ostream& out,
                  std::ostream& err) {
    return RunDetect(PlacesFromEnvironment(), out, err);
}

}  // namespace wendmoor
