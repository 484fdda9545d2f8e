#pragma once
// The desktop's "open" action: help pages, and files or addresses attached
// to log records, are opened with the program the desktop has for them.

#include <string>

namespace ondaris {

class Shell {
 public:
  virtual ~Shell() = default;
  // Opens a local file (an absolute path) or an address ("https://...",
  // "mailto:..."). False with `error` filled when the desktop cannot.
  virtual bool open(const std::string& target, std::string& error) = 0;
};

}  // namespace ondaris
