#pragma once
// Message boxes for runs nobody watches (ONDARIS_NONINTERACTIVE=1, used by
// the end-to-end tests and scripts): every message goes to standard error
// instead of a modal box, and every question is answered No, so that the
// program never waits for a click.

#include <cstdio>
#include <string>

#include "platform/MessageBoxes.h"

namespace ondaris {

class NonInteractiveMessages : public MessageBoxes {
 public:
  void showMessage(const std::string& text) override {
    std::fprintf(stderr, "ondaris: message: %s\n", text.c_str());
    std::fflush(stderr);
  }
  bool askYesNo(const std::string& text) override {
    std::fprintf(stderr, "ondaris: question (answered No): %s\n", text.c_str());
    std::fflush(stderr);
    return false;
  }
};

}  // namespace ondaris
