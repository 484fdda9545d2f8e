#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "common/ProgramDir.h"

namespace ondaris {
namespace {

namespace fs = std::filesystem;

// A fresh folder per test, removed afterwards.
class TempFolder {
 public:
  TempFolder() {
    std::string pattern = (fs::temp_directory_path() / "ondaris-progdir-XXXXXX").string();
    path_ = ::mkdtemp(pattern.data());
  }
  ~TempFolder() {
    std::error_code ec;
    fs::permissions(path_, fs::perms::owner_all, fs::perm_options::add, ec);
    fs::remove_all(path_, ec);
  }
  const std::string& path() const { return path_; }

 private:
  std::string path_;
};

TEST(ParseCommandLine, Accepted) {
  struct Case {
    std::vector<std::string> args;
    std::string dataDir, port;
    bool version, help;
  } cases[] = {
      {{}, "", "", false, false},
      {{"--data-dir", "/tmp/x"}, "/tmp/x", "", false, false},
      {{"--data-dir=/tmp/y"}, "/tmp/y", "", false, false},
      {{"--port", "SIM"}, "", "SIM", false, false},
      {{"--port=/dev/pts/3", "--data-dir", "d"}, "d", "/dev/pts/3", false, false},
      {{"--version"}, "", "", true, false},
      {{"--help"}, "", "", false, true},
      {{"--port", "ttyUSB0", "--version", "--help"}, "", "ttyUSB0", true, true},
  };
  for (const Case& c : cases) {
    const CommandLine line = ParseCommandLine(c.args);
    SCOPED_TRACE(c.args.empty() ? std::string("(none)") : c.args.front());
    EXPECT_TRUE(line.valid) << line.problem;
    EXPECT_EQ(line.dataDir, c.dataDir);
    EXPECT_EQ(line.port, c.port);
    EXPECT_EQ(line.showVersion, c.version);
    EXPECT_EQ(line.showHelp, c.help);
  }
}

TEST(ParseCommandLine, AnythingElseIsRefused) {
  const std::vector<std::vector<std::string>> refused{
      {"--data-dir"},        {"--port"},          {"--data-dir="}, {"--port="},      {"-h"},
      {"--verbose"},         {"file.320"},        {"--version=1"}, {"--help", "x"},  {"-port", "COM1"},
      {"--data-dir", "a", "--bogus"},
  };
  for (const auto& args : refused) {
    const CommandLine line = ParseCommandLine(args);
    EXPECT_FALSE(line.valid) << args.front();
    EXPECT_FALSE(line.problem.empty());
  }
  EXPECT_EQ(UsageExitCode, 2);
  EXPECT_NE(UsageText().find("ondaris [--data-dir DIR] [--port NAME] [--version] [--help]"), std::string::npos);
}

TEST(ResolveProgramDir, DataDirWinsAndIsCreated) {
  TempFolder temp;
  const std::string wanted = temp.path() + "/a/b";
  std::string error;
  const std::string dir = ResolveProgramDir({wanted, temp.path(), "", ""}, error);
  EXPECT_EQ(dir, wanted + "/");
  EXPECT_TRUE(error.empty());
  EXPECT_TRUE(fs::is_directory(wanted));
}

TEST(ResolveProgramDir, ExecutableFolderWhenWritable) {
  TempFolder temp;
  std::string error;
  EXPECT_EQ(ResolveProgramDir({"", temp.path(), "/nonexistent-xdg", "/nonexistent-home"}, error),
            temp.path() + "/");
}

TEST(ResolveProgramDir, PerUserFolderWhenExecutableFolderIsReadOnly) {
  if (::geteuid() == 0) GTEST_SKIP() << "a read-only folder is writable for root";
  TempFolder temp;
  const std::string exeDir = temp.path() + "/bin";
  fs::create_directory(exeDir);
  fs::permissions(exeDir, fs::perms::owner_read | fs::perms::owner_exec);
  std::string error;
  const std::string xdg = temp.path() + "/xdg";
  EXPECT_EQ(ResolveProgramDir({"", exeDir, xdg, temp.path() + "/home"}, error), xdg + "/ondaris/");
  EXPECT_TRUE(fs::is_directory(xdg + "/ondaris"));
  fs::permissions(exeDir, fs::perms::owner_all);
}

TEST(ResolveProgramDir, PerUserFolderWhenExecutableFolderUnknown) {
  TempFolder temp;
  std::string error;
  const std::string xdg = temp.path() + "/xdg";
  EXPECT_EQ(ResolveProgramDir({"", "", xdg, temp.path() + "/home"}, error), xdg + "/ondaris/");
  // Without XDG_DATA_HOME (or with a relative one): ~/.local/share/ondaris.
  EXPECT_EQ(ResolveProgramDir({"", "", "", temp.path() + "/home"}, error),
            temp.path() + "/home/.local/share/ondaris/");
  EXPECT_TRUE(fs::is_directory(temp.path() + "/home/.local/share/ondaris"));
  EXPECT_EQ(ResolveProgramDir({"", "", "relative", temp.path() + "/home"}, error),
            temp.path() + "/home/.local/share/ondaris/");
}

TEST(ResolveProgramDir, NothingKnownGivesTheDirectoryMessage) {
  std::string error;
  EXPECT_EQ(ResolveProgramDir({"", "", "", ""}, error), "");
  EXPECT_EQ(error, NoProgramDirMessage);
}

TEST(ResolveProgramDir, DataDirThatCannotBeCreated) {
  TempFolder temp;
  const std::string file = temp.path() + "/plain-file";
  std::ofstream(file) << "x";
  std::string error;
  EXPECT_EQ(ResolveProgramDir({file + "/sub", "", "", ""}, error), "");
  EXPECT_NE(error.find("Could not create the folder"), std::string::npos);
}

TEST(BuildWorkingDirectories, CreatesTheTenFoldersInOrder) {
  const std::vector<std::string> expected{"SysFiles", "WaveFiles", "LogFiles", "LogFiles/ReportSetups",
                                          "LogHelp",  "Help",      "DBHelp",   "FreqFiles",
                                          "Backup",   "Export"};
  EXPECT_EQ(WorkingDirectories(), expected);

  TempFolder temp;
  EXPECT_TRUE(BuildWorkingDirectories(temp.path()).empty());
  for (const std::string& dir : expected) EXPECT_TRUE(fs::is_directory(temp.path() + "/" + dir)) << dir;
  int count = 0;
  for (const auto& entry : fs::recursive_directory_iterator(temp.path())) {
    EXPECT_TRUE(entry.is_directory());
    ++count;
  }
  EXPECT_EQ(count, 10);
}

TEST(BuildWorkingDirectories, KeepsWhatExists) {
  TempFolder temp;
  fs::create_directories(temp.path() + "/SysFiles");
  std::ofstream(temp.path() + "/SysFiles/Tuning.dat") << "A\r\n";
  EXPECT_TRUE(BuildWorkingDirectories(temp.path() + "/").empty());
  EXPECT_TRUE(fs::exists(temp.path() + "/SysFiles/Tuning.dat"));
  EXPECT_TRUE(BuildWorkingDirectories(temp.path()).empty());  // a second run is harmless
}

TEST(BuildWorkingDirectories, EmptyProgramDirCreatesNothing) {
  const std::vector<std::string> problems = BuildWorkingDirectories("");
  ASSERT_EQ(problems.size(), 1u);
  EXPECT_EQ(problems[0],
            "Error !!!  Directory buider cannot determine the working directory.  Build the directory tree "
            "manually.");
}

TEST(BuildWorkingDirectories, ReportsFoldersThatCannotBeMade) {
  TempFolder temp;
  // A file where LogFiles should be: it and the folder below it fail, the others are made.
  std::ofstream(temp.path() + "/LogFiles") << "x";
  const std::vector<std::string> problems = BuildWorkingDirectories(temp.path());
  ASSERT_EQ(problems.size(), 2u);
  EXPECT_NE(problems[0].find("/LogFiles"), std::string::npos);
  EXPECT_NE(problems[1].find("/LogFiles/ReportSetups"), std::string::npos);
  EXPECT_TRUE(fs::is_directory(temp.path() + "/Export"));
}

TEST(WithTrailingSlash, AddsOnce) {
  EXPECT_EQ(WithTrailingSlash("/a"), "/a/");
  EXPECT_EQ(WithTrailingSlash("/a/"), "/a/");
  EXPECT_EQ(WithTrailingSlash(""), "");
}

}  // namespace
}  // namespace ondaris
