#pragma once
// Modal questions and messages. The Qt implementation shows message boxes;
// tests script the answers and record what was shown.

#include <string>

namespace ondaris {

class MessageBoxes {
 public:
  virtual ~MessageBoxes() = default;
  // An information or error message with an OK button.
  virtual void showMessage(const std::string& text) = 0;
  // A Yes/No question; true for Yes.
  virtual bool askYesNo(const std::string& text) = 0;
};

}  // namespace ondaris
