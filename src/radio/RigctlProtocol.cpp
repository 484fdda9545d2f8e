#include "radio/RigctlProtocol.h"

#include <charconv>
#include <cmath>
#include <cstdio>

#include "radio/Rx320Protocol.h"
#include "radio/StepTable.h"

namespace ondaris {

namespace {

// Hamlib's bits for the modes, VFO A and the two strength levels.
constexpr unsigned ModeBitAM = 0x1, ModeBitCW = 0x2, ModeBitUSB = 0x4, ModeBitLSB = 0x8;
constexpr unsigned AllModeBits = ModeBitAM | ModeBitCW | ModeBitUSB | ModeBitLSB;
constexpr unsigned long long LevelRawStr = 1ULL << 26, LevelStrength = 1ULL << 30;
constexpr int MaxIfShiftHz = 2000;  // the passband tuning's range


// Hamlib's mode names; the data variants of the sidebands are the sidebands.
int ModeFromName(std::string_view name) {
  if (name == "AM") return 0;
  if (name == "USB" || name == "PKTUSB") return 1;
  if (name == "LSB" || name == "PKTLSB") return 2;
  if (name == "CW") return 3;
  return -1;
}

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f'; }

std::vector<std::string_view> SplitWords(std::string_view text) {
  std::vector<std::string_view> words;
  std::size_t i = 0;
  while (i < text.size()) {
    while (i < text.size() && IsBlank(text[i])) ++i;
    const std::size_t start = i;
    while (i < text.size() && !IsBlank(text[i])) ++i;
    if (i > start) words.push_back(text.substr(start, i - start));
  }
  return words;
}

template <class Number>
bool ReadNumber(std::string_view text, Number& value) {
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  return ec == std::errc() && end == text.data() + text.size();
}

// The one VFO of the receiver, under the names clients use for it.
bool IsOurVfo(std::string_view name) {
  return name == "VFOA" || name == "VFO" || name == "currVFO" || name == "Main" || name == "MainA" || name == "A";
}

std::string Hex(unsigned long long value) {
  char text[24];
  std::snprintf(text, sizeof text, "0x%llx", value);
  return text;
}

// Short and long names; commands with the same meaning share a name.
struct Name {
  char letter;
  const char* longName;
};
constexpr Name Names[] = {
    {'f', "get_freq"},       {'F', "set_freq"},      {'m', "get_mode"},  {'M', "set_mode"},
    {'v', "get_vfo"},        {'V', "set_vfo"},       {'s', "get_split_vfo"}, {'S', "set_split_vfo"},
    {'l', "get_level"},      {'L', "set_level"},     {'t', "get_ptt"},   {'T', "set_ptt"},
    {'i', "get_split_freq"}, {'I', "set_split_freq"}, {'x', "get_split_mode"}, {'X', "set_split_mode"},
    {'j', "get_rit"},        {'J', "set_rit"},       {'z', "get_xit"},   {'Z', "set_xit"},
    {'u', "get_func"},       {'U', "set_func"},      {'q', "quit"},      {'Q', "quit"},
    {0, "dump_state"},       {0, "chk_vfo"},         {0, "get_powerstat"}, {0, "set_powerstat"},
    {0, "get_lock_mode"},    {0, "set_lock_mode"},   {0, "set_vfo_opt"},
};

// Commands that name a VFO first while the client has asked for VFO mode.
bool TakesVfo(std::string_view name) {
  return name != "get_vfo" && name != "set_vfo" && name != "quit" && name.substr(0, 4) != "dump" &&
         name != "chk_vfo" && name.find("powerstat") == std::string_view::npos &&
         name.find("lock_mode") == std::string_view::npos && name != "set_vfo_opt";
}

}  // namespace

std::vector<std::string> DumpStateLines(const RigctlRadio& radio) {
  std::vector<std::string> lines{"1", std::to_string(Rx320HamlibModel), "0"};
  // Receive range, no transmit range.
  lines.push_back(std::to_string(RigctlLowestHz) + ".000000 " + std::to_string(RigctlHighestHz) + ".000000 " +
                  Hex(AllModeBits) + " -1 -1 0x1 0x1");
  lines.push_back("0 0 0 0 0 0 0");
  lines.push_back("0 0 0 0 0 0 0");
  for (const StepInfo& step : StepTable) lines.push_back(Hex(AllModeBits) + " " + std::to_string(step.stepHz));
  lines.push_back("0 0");
  // The normal filter of each mode first (Hamlib takes the first it finds
  // for a mode as normal), then every filter for every mode.
  lines.push_back(Hex(ModeBitAM) + " " + std::to_string(radio.normalPassbandHz(0)));
  lines.push_back(Hex(ModeBitUSB | ModeBitLSB) + " " + std::to_string(radio.normalPassbandHz(1)));
  lines.push_back(Hex(ModeBitCW) + " " + std::to_string(radio.normalPassbandHz(3)));
  for (const FilterInfo& filter : FilterTable)
    lines.push_back(Hex(AllModeBits) + " " + std::to_string(filter.bandwidthHz));
  lines.push_back("0 0");
  lines.insert(lines.end(), {"0", "0", std::to_string(MaxIfShiftHz), "0", "", ""});
  lines.insert(lines.end(), {"0x0", "0x0", Hex(LevelRawStr | LevelStrength), "0x0", "0x0", "0x0"});
  lines.insert(lines.end(), {"vfo_ops=0x0", "ptt_type=0x0", "targetable_vfo=0x0", "has_set_vfo=1", "has_get_vfo=1",
                             "has_set_freq=1", "has_get_freq=1", "done"});
  return lines;
}

struct RigctlSession::Command {
  std::string name;
  std::vector<std::string_view> args;
};

std::size_t RigctlSession::receive(std::string_view bytes, std::string& out, std::size_t maxLines) {
  const std::size_t offered = bytes.size();
  std::size_t lines = 0;
  while (!bytes.empty() && !quitting_) {
    if (lines == maxLines) return offered - bytes.size();
    const std::size_t end = bytes.find('\n');
    const std::string_view piece = bytes.substr(0, end);
    bytes = end == std::string_view::npos ? std::string_view() : bytes.substr(end + 1);
    if (!discarding_) {
      if (pending_.size() + piece.size() > MaxLineBytes) {
        // Too long to be a command: say so once and drop it to its line end.
        out += "RPRT -" + std::to_string(static_cast<int>(RigError::Protocol)) + "\n";
        pending_.clear();
        discarding_ = true;
      } else {
        pending_.append(piece);
      }
    }
    if (end == std::string_view::npos) break;
    if (!discarding_) out += answer(pending_);
    pending_.clear();
    discarding_ = false;
    ++lines;
  }
  return offered;
}

std::string RigctlSession::answer(std::string_view line) {
  std::vector<std::string_view> words = SplitWords(line);
  if (words.empty()) return {};
  std::string_view first = words.front();
  char separator = '\n';
  bool longForm = false;
  if (first[0] == '+' || first[0] == ';' || first[0] == '|' || first[0] == ',') {
    longForm = true;
    separator = first[0] == '+' ? '\n' : first[0];
    first.remove_prefix(1);
    if (first.empty()) {
      words.erase(words.begin());
      if (words.empty()) return {};
      first = words.front();
    }
  }
  Command command;
  std::string_view rest;
  if (first[0] == '\\') {
    rest = first.substr(1);
    for (const Name& name : Names)
      if (rest == name.longName) command.name = name.longName;
  } else {
    for (const Name& name : Names)
      if (name.letter != 0 && first[0] == name.letter && first.size() == 1) command.name = name.longName;
  }
  // An unknown command (or bytes that are no command at all).
  if (command.name.empty()) return "RPRT -" + std::to_string(static_cast<int>(RigError::NotImplemented)) + "\n";
  command.args.assign(words.begin() + 1, words.end());
  return run(command, separator, longForm);
}

std::string RigctlSession::run(const Command& command, char separator, bool longForm) {
  const std::string& name = command.name;
  std::vector<std::string_view> args = command.args;
  std::vector<std::string> values;  // the reply's values, labelled in the long form
  std::vector<std::string> labels;
  int error = 0;
  bool report = true;  // a short reply of a get command carries no RPRT line

  auto fail = [&error](RigError e) { error = -static_cast<int>(e); };
  auto value = [&](const char* label, std::string text) {
    labels.emplace_back(label);
    values.push_back(std::move(text));
  };

  std::string header = name + ":";
  for (std::string_view arg : args) header += " " + std::string(arg);

  if (vfoMode_ && TakesVfo(name)) {
    if (args.empty() || !IsOurVfo(args.front())) {
      fail(RigError::InvalidArgument);
      args.clear();
    } else {
      args.erase(args.begin());
    }
  }
  const bool getter = name.rfind("get_", 0) == 0 || name == "dump_state" || name == "chk_vfo";

  if (error != 0) {
  } else if (name == "get_freq") {
    value("Frequency: ", std::to_string(radio_.frequencyHz()));
  } else if (name == "set_freq") {
    double hz = 0;
    if (args.size() != 1 || !ReadNumber(args[0], hz) || !std::isfinite(hz) ||
        !radio_.setFrequencyHz(std::llround(hz)))
      fail(RigError::InvalidArgument);
  } else if (name == "get_mode") {
    value("Mode: ", ModeTableEntry(radio_.mode()).name);
    value("Passband: ", std::to_string(radio_.passbandHz()));
  } else if (name == "set_mode") {
    long passband = -1;
    const int mode = args.empty() ? -1 : ModeFromName(args[0]);
    if (!args.empty() && args[0] == "?") {
      value("", "AM CW USB LSB PKTUSB PKTLSB");
    } else if (mode < 0 || args.size() > 2 || (args.size() == 2 && !ReadNumber(args[1], passband)) ||
               passband < -1) {
      fail(RigError::InvalidArgument);
    } else {
      radio_.setMode(mode, passband);
    }
  } else if (name == "get_vfo") {
    value("VFO: ", "VFOA");
  } else if (name == "set_vfo") {
    if (args.size() != 1 || !IsOurVfo(args[0])) fail(RigError::InvalidArgument);
  } else if (name == "get_split_vfo") {
    value("Split: ", "0");
    value("TX VFO: ", "VFOA");
  } else if (name == "set_split_vfo") {
    if (args.empty() || args[0] != "0") fail(RigError::NotAvailable);
  } else if (name == "get_level") {
    if (args.size() == 1 && args[0] == "STRENGTH")
      value("", std::to_string(radio_.strengthDb()));
    else if (args.size() == 1 && args[0] == "RAWSTR")
      value("", std::to_string(radio_.rawStrength()));
    else if (args.size() == 1 && args[0] == "?")
      value("", "RAWSTR STRENGTH");
    else
      fail(RigError::InvalidArgument);
  } else if (name == "get_ptt") {
    value("PTT: ", "0");  // a receiver never keys a transmitter
  } else if (name == "set_ptt") {
    if (args.empty() || args[0] != "0") fail(RigError::NotAvailable);
  } else if (name == "dump_state") {
    for (std::string& line : DumpStateLines(radio_)) value("", std::move(line));
  } else if (name == "chk_vfo") {
    // rigctld answers this one without a report, in both forms.
    std::string text = std::string(longForm ? "ChkVFO: " : "") + (vfoMode_ ? "1" : "0");
    return text + "\n";
  } else if (name == "set_vfo_opt") {
    if (args.size() != 1 || (args[0] != "0" && args[0] != "1"))
      fail(RigError::InvalidArgument);
    else
      vfoMode_ = args[0] == "1";
  } else if (name == "get_powerstat") {
    value("Power Status: ", "1");
  } else if (name == "get_lock_mode") {
    value("Locked: ", "0");
  } else if (name == "set_lock_mode") {
    if (args.empty() || args[0] != "0") fail(RigError::NotAvailable);
  } else if (name == "quit") {
    quitting_ = true;
  } else {
    // Split frequencies and modes, RIT, XIT, functions, settable levels and
    // the power switch: nothing a computer-driven receiver like this has.
    fail(RigError::NotAvailable);
  }

  std::string out;
  auto line = [&out, separator](const std::string& text) {
    out += text;
    out += separator;
  };
  if (longForm) line(header);
  if (error == 0) {
    for (std::size_t i = 0; i < values.size(); ++i) line(longForm ? labels[i] + values[i] : values[i]);
    report = longForm || !getter;
  }
  if (report || error != 0) line("RPRT " + std::to_string(error));
  if (separator != '\n' && !out.empty()) out.back() = '\n';
  return out;
}

}  // namespace ondaris
