#pragma once
// The desktop's "open" action through QDesktopServices.

#include "platform/Shell.h"

namespace ondaris {

class QtShell : public Shell {
 public:
  bool open(const std::string& target, std::string& error) override;
};

}  // namespace ondaris
