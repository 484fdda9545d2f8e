#include "options/RigctlOptions.h"

#include <exception>

#include "platform/MessageBoxes.h"
#include "radio/RigctlServer.h"

namespace ondaris {

void RigctlOptions::Fill() {
  RigctlOnBox = settings_.enabled;
  RigctlAddressEdit = settings_.address;
  RigctlPortEdit = std::to_string(settings_.port);
}

std::string RigctlOptions::Check() {
  if (RigctlAddressFromText(RigctlAddressEdit).empty()) return RigctlAddressRefusedMessage;
  if (RigctlPortFromText(RigctlPortEdit) == 0) return RigctlPortRefusedMessage;
  return {};
}

RigctlSettings RigctlOptions::Edited() const {
  return RigctlSettings{RigctlOnBox, RigctlAddressFromText(RigctlAddressEdit), RigctlPortFromText(RigctlPortEdit)};
}

void RigctlOptions::Apply() {
  const RigctlSettings edited = Edited();
  const bool changed = !(edited == settings_);
  if (changed) {
    settings_ = edited;
    try {
      WriteRigctlSettings(programDir_, edited);
    } catch (const std::exception& error) {
      // The server still follows the choice for this run.
      ctx_.messages.showMessage(std::string(RigctlSaveFailedMessage) + "\n" + error.what());
    }
  }
  if (!server_) return;
  if (!edited.enabled) {
    if (changed) server_->Stop();
    return;
  }
  if (!changed && server_->running()) return;
  std::string problem;
  if (!server_->Start(edited.address, edited.port, problem)) ctx_.ReportError(problem);
}

}  // namespace ondaris
