// rx320-sim: the simulated RX-320 behind a pseudo-terminal, for driving by
// any program that talks to the receiver (Ondaris, hamlib's rigctl -m 16003).
// The first line of standard output is the device path; then one line per
// decoded command, on standard output or in the --log file.

#include <signal.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "sim/SimulatorPty.h"

namespace {

volatile std::sig_atomic_t stopRequested = 0;

void OnSignal(int) { stopRequested = 1; }

void PrintUsage(std::FILE* out) {
  std::fputs(
      "usage: rx320-sim [--no-pacing] [--log FILE] [--stations FILE] [--seed N] [--cw-tone HZ]\n"
      "\n"
      "Simulates a Ten-Tec RX-320 behind a pseudo-terminal. Prints the device path\n"
      "on the first line, then one line per decoded command. Runs until SIGINT or\n"
      "SIGTERM.\n"
      "\n"
      "  --no-pacing       take input as fast as it comes (default: 1200 baud, 120 bytes/s)\n"
      "  --log FILE        write the command lines to FILE instead of standard output\n"
      "  --stations FILE   station frequencies from the first ';' field of each line\n"
      "                    (an EiBi schedule, for example); default: built-in band plan\n"
      "  --seed N          seed of the signal-strength noise (default 1)\n"
      "  --cw-tone HZ      CW offset assumed when decoding CW tuning (default 700)\n"
      "  --help            this text\n",
      out);
}

bool ParseNumber(const char* text, long long low, long long high, long long& value) {
  char* end = nullptr;
  errno = 0;
  value = std::strtoll(text, &end, 10);
  return errno == 0 && end != text && *end == '\0' && value >= low && value <= high;
}

}  // namespace

int main(int argc, char** argv) {
  ondaris::SimulatorPty::Options options;
  std::string logPath;
  std::string stationsPath;
  long long seed = 1;
  long long cwTone = 700;

  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    const bool hasValue = i + 1 < argc;
    if (arg == "--help" || arg == "-h") {
      PrintUsage(stdout);
      return 0;
    } else if (arg == "--no-pacing") {
      options.pacing = false;
    } else if (arg == "--log" && hasValue) {
      logPath = argv[++i];
    } else if (arg == "--stations" && hasValue) {
      stationsPath = argv[++i];
    } else if (arg == "--seed" && hasValue && ParseNumber(argv[i + 1], 0, 0xFFFFFFFFLL, seed)) {
      ++i;
    } else if (arg == "--cw-tone" && hasValue && ParseNumber(argv[i + 1], -8000, 20000, cwTone)) {
      ++i;
    } else {
      std::fprintf(stderr, "rx320-sim: unexpected argument '%s'\n", arg.c_str());
      PrintUsage(stderr);
      return 2;
    }
  }

  std::signal(SIGPIPE, SIG_IGN);
  struct sigaction action {};
  action.sa_handler = OnSignal;
  sigemptyset(&action.sa_mask);
  sigaction(SIGINT, &action, nullptr);
  sigaction(SIGTERM, &action, nullptr);

  std::FILE* log = stdout;
  if (!logPath.empty()) {
    log = std::fopen(logPath.c_str(), "w");
    if (!log) {
      std::fprintf(stderr, "rx320-sim: cannot write %s (%s)\n", logPath.c_str(), std::strerror(errno));
      return 1;
    }
  }

  ondaris::SimulatorPty pty(options, static_cast<std::uint32_t>(seed));
  ondaris::Rx320Simulator& simulator = pty.simulator();
  simulator.setCwToneHz(static_cast<int>(cwTone));
  if (!stationsPath.empty()) {
    std::vector<double> stations;
    std::string error;
    if (!ondaris::StrengthModel::LoadStationFile(stationsPath, stations, error)) {
      std::fprintf(stderr, "rx320-sim: %s\n", error.c_str());
      return 1;
    }
    simulator.strengthModel().setStations(std::move(stations));
  }
  simulator.setLogSink([log](const std::string& line) {
    std::fputs(line.c_str(), log);
    std::fputc('\n', log);
    std::fflush(log);
  });

  std::string error;
  if (!pty.open(error)) {
    std::fprintf(stderr, "rx320-sim: %s\n", error.c_str());
    return 1;
  }
  std::printf("%s\n", pty.devicePath().c_str());
  std::fflush(stdout);
  std::fprintf(stderr, "rx320-sim: %zu stations, %s\n", simulator.strengthModel().stations().size(),
               options.pacing ? "paced at 1200 baud" : "no pacing");

  const bool ok = pty.run(stopRequested);
  pty.close();
  if (log != stdout) std::fclose(log);
  if (!ok) {
    std::fprintf(stderr, "rx320-sim: the pseudo-terminal failed\n");
    return 1;
  }
  return 0;
}
