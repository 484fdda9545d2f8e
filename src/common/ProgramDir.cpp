#include "common/ProgramDir.h"

#include <unistd.h>

#include <filesystem>
#include <system_error>

namespace ondaris {

namespace fs = std::filesystem;

const char* const NoProgramDirMessage =
    "Error !!!  Directory buider cannot determine the working directory.  Build the directory tree "
    "manually.";

std::string UsageText() {
  return "Usage: ondaris [--data-dir DIR] [--port NAME] [--rigctl-port N] [--version] [--help]\n"
         "  --data-dir DIR  keep the data files in DIR (created if missing)\n"
         "  --port NAME     use this serial port for this run (COMn, ttyUSB0, /dev/..., or SIM\n"
         "                  for the built-in simulated receiver); the stored port is kept\n"
         "  --rigctl-port N serve Hamlib's network rig protocol (rigctld) on TCP port N of\n"
         "                  the configured address (127.0.0.1 unless chosen otherwise) for\n"
         "                  this run\n"
         "  --version       print the version and end\n"
         "  --help          print this text and end\n";
}

CommandLine ParseCommandLine(const std::vector<std::string>& args) {
  CommandLine line;
  auto fail = [&line](std::string problem) {
    line.valid = false;
    line.problem = std::move(problem);
    return line;
  };
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    std::string* target = nullptr;
    std::string name = arg;
    std::string value;
    bool inlineValue = false;
    const auto equals = arg.find('=');
    if (arg.rfind("--", 0) == 0 && equals != std::string::npos) {
      name = arg.substr(0, equals);
      value = arg.substr(equals + 1);
      inlineValue = true;
    }
    std::string rigctlPort;
    if (name == "--data-dir")
      target = &line.dataDir;
    else if (name == "--port")
      target = &line.port;
    else if (name == "--rigctl-port")
      target = &rigctlPort;

    if (target) {
      if (!inlineValue) {
        if (i + 1 >= args.size()) return fail(name + " needs a value");
        value = args[++i];
      }
      if (value.empty()) return fail(name + " needs a value");
      *target = value;
      if (target == &rigctlPort) {
        const bool digits = value.size() <= 5 && value.find_first_not_of("0123456789") == std::string::npos;
        const int port = digits ? std::stoi(value) : 0;
        if (port < 1 || port > 65535) return fail("--rigctl-port needs a port number 1..65535");
        line.rigctlPort = port;
      }
      continue;
    }
    if (inlineValue) return fail("unknown option " + arg);
    if (arg == "--version") {
      line.showVersion = true;
    } else if (arg == "--help") {
      line.showHelp = true;
    } else {
      return fail("unknown argument " + arg);
    }
  }
  return line;
}

std::string WithTrailingSlash(const std::string& dir) {
  if (dir.empty() || dir.back() == '/') return dir;
  return dir + '/';
}

namespace {

bool IsWritableDirectory(const std::string& dir) {
  std::error_code ec;
  if (dir.empty() || !fs::is_directory(dir, ec)) return false;
  return ::access(dir.c_str(), W_OK | X_OK) == 0;
}

// Creates `dir` (and its parents) when missing; true when it is a folder now.
bool MakeFolder(const std::string& dir, std::string& error) {
  std::error_code ec;
  if (fs::is_directory(dir, ec)) return true;
  fs::create_directories(dir, ec);
  if (fs::is_directory(dir)) return true;
  error = "Could not create the folder " + dir + (ec ? " (" + ec.message() + ")" : std::string());
  return false;
}

std::string Absolute(const std::string& dir) {
  std::error_code ec;
  const fs::path absolute = fs::absolute(dir, ec);
  return ec ? dir : absolute.lexically_normal().string();
}

}  // namespace

std::string ResolveProgramDir(const ProgramDirInputs& inputs, std::string& error) {
  error.clear();
  if (!inputs.dataDirOption.empty()) {
    const std::string dir = Absolute(inputs.dataDirOption);
    if (!MakeFolder(dir, error)) return {};
    return WithTrailingSlash(dir);
  }
  if (IsWritableDirectory(inputs.executableDir)) return WithTrailingSlash(Absolute(inputs.executableDir));

  std::string dir;
  if (!inputs.xdgDataHome.empty() && inputs.xdgDataHome.front() == '/')
    dir = WithTrailingSlash(inputs.xdgDataHome) + "ondaris";
  else if (!inputs.home.empty())
    dir = WithTrailingSlash(inputs.home) + ".local/share/ondaris";
  if (dir.empty()) {
    error = NoProgramDirMessage;
    return {};
  }
  if (!MakeFolder(dir, error)) return {};
  return WithTrailingSlash(dir);
}

const std::vector<std::string>& WorkingDirectories() {
  static const std::vector<std::string> dirs{"SysFiles", "WaveFiles", "LogFiles", "LogFiles/ReportSetups",
                                             "LogHelp",  "Help",      "DBHelp",   "FreqFiles",
                                             "Backup",   "Export"};
  return dirs;
}

std::vector<std::string> BuildWorkingDirectories(const std::string& programDir) {
  if (programDir.empty()) return {NoProgramDirMessage};
  std::vector<std::string> problems;
  const std::string base = WithTrailingSlash(programDir);
  for (const std::string& dir : WorkingDirectories()) {
    const std::string path = base + dir;
    std::error_code ec;
    if (fs::is_directory(path, ec)) continue;
    // One level only: a parent that is missing makes its children fail too.
    fs::create_directory(path, ec);
    if (ec || !fs::is_directory(path))
      problems.push_back("Could not create the folder " + path + (ec ? " (" + ec.message() + ")" : std::string()));
  }
  return problems;
}

}  // namespace ondaris
