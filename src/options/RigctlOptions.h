#pragma once
// The rigctl server's part of "User Options Setup": whether the server is on,
// the address it listens on and its TCP port. OK refuses an address or port
// that cannot be listened on, writes SysFiles/RigctlServer.dat at once and
// starts, restarts or stops the server to match.

#include <string>

#include "options/UserOptionsDialog.h"
#include "radio/RigctlSettings.h"

namespace ondaris {

class RigctlServer;

inline constexpr const char* RigctlPortRefusedMessage =
    "The rigctl server's port must be a whole number from 1 to 65535.";
inline constexpr const char* RigctlAddressRefusedMessage =
    "The rigctl server's address must be an IPv4 address such as 127.0.0.1 or an IPv6 address such as ::1.";
inline constexpr const char* RigctlSaveFailedMessage = "Could not save SysFiles\\RigctlServer.dat.";

class RigctlOptions : public OptionsSection {
 public:
  RigctlOptions(PanelContext& context, RigctlSettings& settings, const std::string& programDir)
      : ctx_(context), settings_(settings), programDir_(programDir) {}

  // None: the program has no server (the section still keeps the file).
  void setServer(RigctlServer* server) { server_ = server; }

  // The fields.
  bool RigctlOnBox = false;
  std::string RigctlAddressEdit, RigctlPortEdit;

  void Fill() override;
  std::string Check() override;
  // Settings that changed are stored and the server follows them; unchanged
  // ones leave a running server alone (it may run for this run only, from
  // the command line), but a server that should run and does not (its port
  // was taken) is tried again. A port that is still taken is reported in
  // the window and on standard error.
  void Apply() override;

 private:
  RigctlSettings Edited() const;

  PanelContext& ctx_;
  RigctlSettings& settings_;
  const std::string& programDir_;
  RigctlServer* server_ = nullptr;
};

}  // namespace ondaris
