#pragma once
// MessageBoxes for tests: records every message and question, and answers
// questions from a script. A question with no scripted answer and no default
// fails the running test (and is answered No).

#include <deque>
#include <functional>
#include <initializer_list>
#include <optional>
#include <string>
#include <vector>

#include "platform/MessageBoxes.h"

namespace ondaris {

class ScriptedMessageBoxes : public MessageBoxes {
 public:
  enum class Kind { Message, Question };
  struct Shown {
    Kind kind;
    std::string text;
    bool answer = false;  // questions only
  };

  void showMessage(const std::string& text) override;
  bool askYesNo(const std::string& text) override;

  // --- Script ---
  void answerNext(bool yes) { answers_.push_back(yes); }
  void answerNext(std::initializer_list<bool> yes) { answers_.insert(answers_.end(), yes); }
  // Answer for questions beyond the script; nullopt (the default) fails the test.
  void setDefaultAnswer(std::optional<bool> yes) { defaultAnswer_ = yes; }
  std::size_t unusedAnswers() const { return answers_.size(); }
  // Called with each message or question as it is shown (before answering).
  std::function<void(const Shown&)> onShow;

  // --- Records ---
  const std::vector<Shown>& shown() const { return shown_; }  // everything, in order
  std::vector<std::string> messages() const;                 // the messages only
  std::vector<std::string> questions() const;                // the questions only
  std::string lastMessage() const;                           // "" when none
  void clear() { shown_.clear(); }

 private:
  std::deque<bool> answers_;
  std::optional<bool> defaultAnswer_;
  std::vector<Shown> shown_;
};

}  // namespace ondaris
