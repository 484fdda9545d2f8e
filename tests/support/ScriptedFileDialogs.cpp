#include "support/ScriptedFileDialogs.h"

#include <gtest/gtest.h>

namespace ondaris {

std::optional<std::string> ScriptedFileDialogs::openFile(const FileDialogRequest& request) {
  return answer(Kind::Open, request);
}

std::optional<std::string> ScriptedFileDialogs::saveFile(const FileDialogRequest& request) {
  return answer(Kind::Save, request);
}

std::optional<std::string> ScriptedFileDialogs::answer(Kind kind, const FileDialogRequest& request) {
  Shown entry{kind, request, std::nullopt};
  if (answers_.empty()) {
    ADD_FAILURE() << "Unexpected " << (kind == Kind::Open ? "open" : "save") << " dialog \"" << request.title
                  << "\"";
  } else {
    entry.answer = answers_.front();
    answers_.pop_front();
  }
  shown_.push_back(entry);
  return entry.answer;
}

std::size_t ScriptedFileDialogs::count(Kind kind) const {
  std::size_t n = 0;
  for (const Shown& s : shown_)
    if (s.kind == kind) ++n;
  return n;
}

}  // namespace ondaris
