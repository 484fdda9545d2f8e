#pragma once
// Where the program keeps its data, the folders below it, and the command
// line. Standard C++ only, so that start-up can be tested without a desktop.

#include <string>
#include <vector>

namespace ondaris {

// ondaris [--data-dir DIR] [--port NAME] [--rigctl-port N] [--version] [--help]
struct CommandLine {
  std::string dataDir;   // empty: not given
  std::string port;      // empty: use the stored ComPortName
  int rigctlPort = 0;    // 1..65535: the rigctl server on this port; 0: as stored
  bool showVersion = false;
  bool showHelp = false;
  bool valid = true;     // false: print the usage and end with code 2
  std::string problem;   // why it is not valid
};

// `args` are the arguments after the program name. "--opt=value" is accepted
// as well as "--opt value".
CommandLine ParseCommandLine(const std::vector<std::string>& args);
std::string UsageText();
// The exit code for a command line that is not valid.
constexpr int UsageExitCode = 2;

// The candidates for the program folder, without touching the disk.
struct ProgramDirInputs {
  std::string dataDirOption;  // --data-dir, may be empty
  std::string executableDir;  // folder of the running executable, may be empty
  std::string xdgDataHome;    // $XDG_DATA_HOME, may be empty
  std::string home;           // $HOME, may be empty
};

// Chooses the program folder: --data-dir, else the executable's folder when
// it is writable, else $XDG_DATA_HOME/ondaris, else ~/.local/share/ondaris.
// Creates the chosen folder when missing (--data-dir and the per-user
// folder). Returns the folder with a trailing '/', or empty (with `error`
// filled) when no folder can be had.
std::string ResolveProgramDir(const ProgramDirInputs& inputs, std::string& error);

// The working folders below the program folder, parents before children.
const std::vector<std::string>& WorkingDirectories();

// Creates each missing working folder, one level at a time. Returns the
// messages for the listener: the fixed message when `programDir` is empty,
// or one line per folder that could not be created.
std::vector<std::string> BuildWorkingDirectories(const std::string& programDir);

// "Error !!!  Directory buider cannot determine ..." (shown when the program
// folder is unknown).
extern const char* const NoProgramDirMessage;

// Ensures a trailing '/'.
std::string WithTrailingSlash(const std::string& dir);

}  // namespace ondaris
