#pragma once

// Pre-answered stand-ins for the finder's seams, and a window fixture whose finder looks in a
// fake home made in the test's temporary folder.

#include <deque>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include <QString>

#include "FakeSeams.h"
#include "finder/GameFinder.h"
#include "widgets/FinderSeams.h"

namespace wendmoor::testing {

// The window tests find at most one folder a row: choosing among several is the finder's
// (tests/finder), so nobody is asked.
class NoFolderPicker final : public FolderPicker {
  public:
    std::optional<std::size_t> PickFolder(QWidget*, const QString&,
                                          const std::vector<FoundFolder>&) override {
        ADD_FAILURE() << "a folder choice was asked for";
        return std::nullopt;
    }
};

class ScriptedPackageFiles final : public PackageFileChooser {
  public:
    std::vector<std::string> ChoosePackageFiles(QWidget*) override {
        ++asked;
        return answer;
    }
    std::vector<std::string> answer;
    int asked = 0;
};

class ScriptedSameName final : public SameNameQuestion {
  public:
    bool AskKeepBoth(QWidget*, const std::string& existing, const std::string& kept) override {
        asked.emplace_back(existing, kept);
        return keepBoth;
    }
    bool keepBoth = true;
    std::vector<std::pair<std::string, std::string>> asked;
};

class FinderWindowTest : public WindowTest {
  protected:
    FinderWindowTest() {
        finder.places.home = home;
        services.finder = &finder;
    }

    // Stands a game's program below the fake home; returns its folder.
    std::string GameInHome(const std::string& folder, const std::string& program) {
        dir.WriteFile("home/" + folder + program, "MZ");
        return home + folder;
    }

    std::string home = dir.MakeFolder("home");
    NoFolderPicker picker;
    ScriptedPackageFiles packageFiles;
    ScriptedSameName sameName;
    FinderServices finder{{}, picker, packageFiles, sameName};
};

}  // namespace wendmoor::testing
