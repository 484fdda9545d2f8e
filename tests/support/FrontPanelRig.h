// Everything a whole FrontPanel runs on, as fakes: the panel's fakes, scripted
// file dialogs, and a companion link and shell that record what they were given.

#pragma once

#include <string>
#include <vector>

#include "app/FrontPanel.h"
#include "platform/Shell.h"
#include "support/PanelFakes.h"
#include "support/RecordingCompanion.h"
#include "support/ScriptedFileDialogs.h"

namespace ondaris {

class RecordingShell : public Shell {
 public:
  bool open(const std::string& target, std::string&) override {
    opened.push_back(target);
    return true;
  }
  std::vector<std::string> opened;
};

struct FrontPanelRig : PanelFakes {
  PanelPlatform platform() {
    return PanelPlatform{port,       clock,      messages,   companion,     shell,     tuningTimer,
                         meterTimer, scanTimer, clockTimer, debounceTimer, pumpTimer, fileDialogs};
  }

  RecordingCompanion companion;
  RecordingShell shell;
  ScriptedFileDialogs fileDialogs;
};

}  // namespace ondaris
