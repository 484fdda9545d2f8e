#include "radio/RigctlSettings.h"

#include <arpa/inet.h>

#include <charconv>
#include <optional>
#include <vector>

#include "common/AtomicFile.h"
#include "common/ProgramDir.h"

namespace ondaris {

namespace {

std::string Trimmed(const std::string& text) {
  const std::size_t first = text.find_first_not_of(" \t\r");
  if (first == std::string::npos) return {};
  const std::size_t last = text.find_last_not_of(" \t\r");
  return text.substr(first, last - first + 1);
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    lines.push_back(Trimmed(text.substr(start, end - start)));
    start = end + 1;
  }
  return lines;
}

}  // namespace

std::string RigctlSettingsPath(const std::string& programDir) {
  return WithTrailingSlash(programDir) + "SysFiles/RigctlServer.dat";
}

int RigctlPortFromText(const std::string& text) {
  const std::string word = Trimmed(text);
  int port = 0;
  const auto [end, ec] = std::from_chars(word.data(), word.data() + word.size(), port);
  if (ec != std::errc() || end != word.data() + word.size() || port < 1 || port > 65535) return 0;
  return port;
}

std::string RigctlAddressFromText(const std::string& text) {
  const std::string word = Trimmed(text);
  if (word.empty() || word.size() > RigctlAddressMax) return {};
  // The system's own parser: exactly what the listener will accept later.
  unsigned char bytes[16];
  const int family = word.find(':') == std::string::npos ? AF_INET : AF_INET6;
  if (inet_pton(family, word.c_str(), bytes) != 1) return {};
  return word;
}

RigctlSettings DecodeRigctlSettings(const std::string& text) {
  RigctlSettings settings;
  const std::vector<std::string> lines = Lines(text);
  if (lines.size() > 0) settings.enabled = lines[0] == "1";
  if (lines.size() > 1) {
    const std::string address = RigctlAddressFromText(lines[1]);
    if (!address.empty()) settings.address = address;
  }
  if (lines.size() > 2) {
    const int port = RigctlPortFromText(lines[2]);
    if (port != 0) settings.port = port;
  }
  return settings;
}

std::string EncodeRigctlSettings(const RigctlSettings& settings) {
  return std::string(settings.enabled ? "1" : "0") + "\r\n" + settings.address + "\r\n" +
         std::to_string(settings.port) + "\r\n";
}

RigctlSettings ReadRigctlSettings(const std::string& programDir) {
  const std::optional<std::string> text = ReadWholeFile(RigctlSettingsPath(programDir));
  return text ? DecodeRigctlSettings(*text) : RigctlSettings{};
}

void WriteRigctlSettings(const std::string& programDir, const RigctlSettings& settings) {
  WriteFileAtomically(RigctlSettingsPath(programDir), EncodeRigctlSettings(settings));
}

}  // namespace ondaris
