#pragma once

// Pre-answered stand-ins for the seams of the window layer, for its headless tests and the Qt
// window's tests alike.

#include <deque>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "ui/FinderSeams.h"
#include "ui/Seams.h"

namespace wendmoor::testing {

// Records each box (caption, text) with its details; answers questions from a script, "No"
// when it runs out.
class RecordingMessageBoxes final : public MessageBoxes {
  public:
    void ShowInformation(ParentWindow, const std::string& caption, const std::string& text,
                         const std::string& detailText) override {
        shown.emplace_back(caption, text);
        details.push_back(detailText);
    }
    void ShowWarning(ParentWindow parent, const std::string& caption,
                     const std::string& text) override {
        ShowInformation(parent, caption, text, {});
    }
    bool AskYesNo(ParentWindow, const std::string& caption, const std::string& text) override {
        asked.emplace_back(caption, text);
        if (answers.empty()) return false;
        const bool answer = answers.front();
        answers.pop_front();
        return answer;
    }
    std::vector<std::pair<std::string, std::string>> shown;
    std::vector<std::string> details;  // one for each box shown
    std::deque<bool> answers;
    std::vector<std::pair<std::string, std::string>> asked;
};

class ScriptedFileChooser final : public FileChooser {
  public:
    void Answer(std::optional<std::string> path) { answers_.push_back(std::move(path)); }

    std::optional<std::string> ChooseFile(ParentWindow, const FileChoiceRequest& request) override {
        requests.push_back(request);
        if (answers_.empty()) return std::nullopt;
        std::optional<std::string> answer = std::move(answers_.front());
        answers_.pop_front();
        return answer;
    }

    std::vector<FileChoiceRequest> requests;

  private:
    std::deque<std::optional<std::string>> answers_;
};

// Answers each folder question from a script; nothing (declined) when it runs out.
class ScriptedFolderPicker final : public FolderPicker {
  public:
    std::optional<std::size_t> PickFolder(ParentWindow, const std::string&,
                                          const std::vector<std::string>& lines) override {
        offered.push_back(lines);
        if (answers.empty()) return std::nullopt;
        const std::optional<std::size_t> answer = answers.front();
        answers.pop_front();
        return answer;
    }
    std::deque<std::optional<std::size_t>> answers;
    std::vector<std::vector<std::string>> offered;
};

// Hands out the files of `answer` at each "Add packages...", noting where it was to open.
class ScriptedPackageFiles final : public PackageFileChooser {
  public:
    std::vector<std::string> ChoosePackageFiles(ParentWindow, const std::string& start) override {
        ++asked;
        startFolders.push_back(start);
        return answer;
    }
    std::vector<std::string> answer;
    int asked = 0;
    std::vector<std::string> startFolders;
};

// Keeps both at every same-name question, noting its text.
class ScriptedSameName final : public SameNameQuestion {
  public:
    bool AskKeepBoth(ParentWindow, const std::string& question) override {
        asked.push_back(question);
        return true;
    }
    std::vector<std::string> asked;
};

}  // namespace wendmoor::testing
