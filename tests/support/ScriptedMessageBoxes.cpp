#include "support/ScriptedMessageBoxes.h"

#include <gtest/gtest.h>

namespace ondaris {

void ScriptedMessageBoxes::showMessage(const std::string& text) {
  Shown entry{Kind::Message, text, false};
  if (onShow) onShow(entry);
  shown_.push_back(entry);
}

bool ScriptedMessageBoxes::askYesNo(const std::string& text) {
  Shown entry{Kind::Question, text, false};
  if (onShow) onShow(entry);
  if (!answers_.empty()) {
    entry.answer = answers_.front();
    answers_.pop_front();
  } else if (defaultAnswer_) {
    entry.answer = *defaultAnswer_;
  } else {
    ADD_FAILURE() << "Unexpected question: \"" << text << "\"";
    entry.answer = false;
  }
  shown_.push_back(entry);
  return entry.answer;
}

std::vector<std::string> ScriptedMessageBoxes::messages() const {
  std::vector<std::string> result;
  for (const Shown& s : shown_)
    if (s.kind == Kind::Message) result.push_back(s.text);
  return result;
}

std::vector<std::string> ScriptedMessageBoxes::questions() const {
  std::vector<std::string> result;
  for (const Shown& s : shown_)
    if (s.kind == Kind::Question) result.push_back(s.text);
  return result;
}

std::string ScriptedMessageBoxes::lastMessage() const {
  for (auto it = shown_.rbegin(); it != shown_.rend(); ++it)
    if (it->kind == Kind::Message) return it->text;
  return {};
}

}  // namespace ondaris
