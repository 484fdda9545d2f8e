// A companion link that records what the program sends it; a test can make
// listening fail.

#pragma once

#include <string>
#include <vector>

#include "platform/CompanionTransport.h"

namespace ondaris {

class RecordingCompanion : public CompanionTransport {
 public:
  bool listen(std::string& error) override {
    ++listenCalls;
    if (!listenError.empty()) {
      error = listenError;
      return false;
    }
    listening = true;
    return true;
  }
  void close() override { listening = false; }
  void send(const std::string& text) override { sent.push_back(text); }

  bool listening = false;
  int listenCalls = 0;
  std::string listenError;
  std::vector<std::string> sent;
};

}  // namespace ondaris
