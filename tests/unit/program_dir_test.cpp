#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "common/ProgramDir.h"
#include "support/TempFolder.h"

namespace ondaris {
namespace {

namespace fs = std::filesystem;
using Texts = std::vector<std::string>;

TEST(ParseCommandLine, AcceptedAndRefused) {
  const struct {
    Texts args;
    std::string dataDir, port;
    int rigctlPort;
    bool version, help;
  } cases[] = {
      {{}, "", "", 0, false, false},
      {{"--data-dir", "/tmp/x", "--rigctl-port", "4533"}, "/tmp/x", "", 4533, false, false},
      {{"--port=/dev/pts/3", "--data-dir=d"}, "d", "/dev/pts/3", 0, false, false},
      {{"--port", "ttyUSB0", "--version", "--help"}, "", "ttyUSB0", 0, true, true},
  };
  for (const auto& c : cases) {
    const CommandLine line = ParseCommandLine(c.args);
    SCOPED_TRACE(c.args.empty() ? std::string("(none)") : c.args.front());
    EXPECT_TRUE(line.valid) << line.problem;
    EXPECT_EQ(std::tuple(line.dataDir, line.port, line.rigctlPort, line.showVersion, line.showHelp),
              std::tuple(c.dataDir, c.port, c.rigctlPort, c.version, c.help));
  }
  const std::vector<Texts> refused{
      {"--data-dir"}, {"--port="}, {"-h"}, {"--version=1"}, {"--rigctl-port=0"}, {"--rigctl-port", "4x"}};
  for (const auto& args : refused) {
    const CommandLine line = ParseCommandLine(args);
    EXPECT_FALSE(line.valid) << args.front();
    EXPECT_FALSE(line.problem.empty());
  }
  EXPECT_EQ(UsageText().rfind("Usage: ondaris [--data-dir DIR] [--port NAME] [--rigctl-port N] [--version] [--help]\n",
                              0),
            0u);
}

TEST(ResolveProgramDir, DataDirThenExecutableFolderThenPerUserFolder) {
  TempFolder temp;
  const std::string root = temp.path().string();
  std::string error;
  EXPECT_EQ(ResolveProgramDir({root + "/a/b", root, "", ""}, error), root + "/a/b/");
  EXPECT_TRUE(fs::is_directory(root + "/a/b"));
  EXPECT_EQ(ResolveProgramDir({"", root, "/nonexistent-xdg", "/nonexistent-home"}, error), root + "/");
  EXPECT_EQ(ResolveProgramDir({"", "", root + "/xdg", root + "/home"}, error), root + "/xdg/ondaris/");
  // Without XDG_DATA_HOME (or with a relative one): ~/.local/share/ondaris.
  EXPECT_EQ(ResolveProgramDir({"", "", "relative", root + "/home"}, error), root + "/home/.local/share/ondaris/");
  EXPECT_TRUE(fs::is_directory(root + "/home/.local/share/ondaris"));
  EXPECT_TRUE(error.empty());
  if (::geteuid() != 0) {  // a read-only folder is writable for root
    fs::create_directory(root + "/bin");
    fs::permissions(root + "/bin", fs::perms::owner_read | fs::perms::owner_exec);
    EXPECT_EQ(ResolveProgramDir({"", root + "/bin", root + "/xdg2", ""}, error), root + "/xdg2/ondaris/");
    fs::permissions(root + "/bin", fs::perms::owner_all);
  }
}

TEST(ResolveProgramDir, NothingUsableGivesAMessage) {
  std::string error;
  EXPECT_EQ(ResolveProgramDir({"", "", "", ""}, error), "");
  EXPECT_EQ(error, NoProgramDirMessage);
  TempFolder temp;
  WriteFileBytes(temp.file("plain-file"), "x");
  EXPECT_EQ(ResolveProgramDir({temp.file("plain-file") + "/sub", "", "", ""}, error), "");
  EXPECT_EQ(error.rfind("Could not create the folder", 0), 0u) << error;
}

TEST(BuildWorkingDirectories, CreatesTheTenFoldersAndKeepsWhatExists) {
  const Texts expected{"SysFiles", "WaveFiles", "LogFiles",  "LogFiles/ReportSetups", "LogHelp",
                       "Help",     "DBHelp",    "FreqFiles", "Backup",                "Export"};
  EXPECT_EQ(WorkingDirectories(), expected);
  TempFolder temp;
  fs::create_directories(temp.file("SysFiles"));
  WriteFileBytes(temp.sysFile("Tuning.dat"), "A\r\n");
  EXPECT_TRUE(BuildWorkingDirectories(temp.path().string()).empty());
  EXPECT_TRUE(BuildWorkingDirectories(temp.dir()).empty());  // a second run is harmless
  for (const std::string& dir : expected) EXPECT_TRUE(fs::is_directory(temp.file(dir))) << dir;
  EXPECT_EQ(ReadFileBytes(temp.sysFile("Tuning.dat")), "A\r\n");
  EXPECT_EQ(Texts({WithTrailingSlash("/a"), WithTrailingSlash("/a/")}), Texts({"/a/", "/a/"}));
}

TEST(BuildWorkingDirectories, ReportsFoldersThatCannotBeMade) {
  EXPECT_EQ(BuildWorkingDirectories(""), Texts{"Error !!!  Directory buider cannot determine the working directory.  "
                                               "Build the directory tree manually."});
  TempFolder temp;
  // A file where LogFiles should be: it and the folder below it fail, the others are made.
  WriteFileBytes(temp.file("LogFiles"), "x");
  const Texts problems = BuildWorkingDirectories(temp.path().string());
  EXPECT_THAT(problems, ::testing::ElementsAre(::testing::HasSubstr("/LogFiles"),
                                               ::testing::HasSubstr("/LogFiles/ReportSetups")));
  EXPECT_TRUE(fs::is_directory(temp.file("Export")));
}

}  // namespace
}  // namespace ondaris
