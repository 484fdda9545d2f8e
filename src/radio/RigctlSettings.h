#pragma once
// Where the rigctl-compatible server listens and whether it starts with the
// program: SysFiles/RigctlServer.dat, three text lines ended by CR LF:
//
//   0            1 when the server starts with the program
//   127.0.0.1    the address listened on
//   4532         the TCP port
//
// A missing file, or a line that cannot be read, gives the default of that
// line: off, the loopback address, Hamlib's port 4532.

#include <string>

namespace ondaris {

struct RigctlSettings {
  bool enabled = false;
  std::string address = "127.0.0.1";
  int port = 4532;
  bool operator==(const RigctlSettings&) const = default;
};

inline constexpr std::size_t RigctlAddressMax = 64;

// programDir + "SysFiles/RigctlServer.dat".
std::string RigctlSettingsPath(const std::string& programDir);
RigctlSettings DecodeRigctlSettings(const std::string& text);
std::string EncodeRigctlSettings(const RigctlSettings& settings);
// The defaults when the file is missing; throws FileError when it exists but
// cannot be read.
RigctlSettings ReadRigctlSettings(const std::string& programDir);
// Replaces the file atomically; throws FileError when it cannot be written.
void WriteRigctlSettings(const std::string& programDir, const RigctlSettings& settings);

// A port typed or stored: 1..65535, else 0.
int RigctlPortFromText(const std::string& text);
// An address typed or stored: an IPv4 address in dotted form or an IPv6
// address (without brackets or zone), blanks around it dropped; else empty.
std::string RigctlAddressFromText(const std::string& text);

}  // namespace ondaris
