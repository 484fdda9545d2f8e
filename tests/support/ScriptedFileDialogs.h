#pragma once
// FileDialogs for tests: records every dialog that was shown and answers it
// from a script. A dialog with no scripted answer fails the running test
// (and counts as cancelled).

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "platform/FileDialogs.h"

namespace ondaris {

class ScriptedFileDialogs : public FileDialogs {
 public:
  enum class Kind { Open, Save };
  struct Shown {
    Kind kind;
    FileDialogRequest request;
    std::optional<std::string> answer;
  };

  std::optional<std::string> openFile(const FileDialogRequest& request) override;
  std::optional<std::string> saveFile(const FileDialogRequest& request) override;

  // --- Script (one queue for both kinds, in the order the dialogs come) ---
  void chooseNext(const std::string& path) { answers_.push_back(path); }
  void cancelNext() { answers_.push_back(std::nullopt); }
  std::size_t unusedAnswers() const { return answers_.size(); }

  // --- Records ---
  const std::vector<Shown>& shown() const { return shown_; }
  std::size_t count(Kind kind) const;
  void clear() { shown_.clear(); }

 private:
  std::optional<std::string> answer(Kind kind, const FileDialogRequest& request);

  std::deque<std::optional<std::string>> answers_;
  std::vector<Shown> shown_;
};

}  // namespace ondaris
