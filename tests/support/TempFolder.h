// A scratch folder for tests that touch files, removed with everything in it
// when the test ends, and small whole-file read/write helpers.

#pragma once

#include <cstddef>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace ondaris {

class TempFolder {
 public:
  // `withSysFiles` also creates the program's SysFiles sub-folder.
  explicit TempFolder(bool withSysFiles = false);
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const std::filesystem::path& path() const { return root_; }
  // The folder with a trailing slash, the way the program keeps its folders.
  std::string dir() const { return root_.string() + "/"; }
  std::string file(const std::string& name) const { return (root_ / name).string(); }
  std::string sysFile(const std::string& name) const { return (root_ / "SysFiles" / name).string(); }

 private:
  std::filesystem::path root_;
};

// The whole file as bytes; empty when it cannot be read.
std::string ReadFileBytes(const std::string& path);
// Replaces the file with exactly these bytes.
void WriteFileBytes(const std::string& path, const std::string& bytes);
// Runs `action` while this process may write files of at most `bytes` bytes,
// as when the disk fills up in the middle of a save; the limit is lifted after.
void WithFileSizeLimit(std::size_t bytes, const std::function<void()>& action);
// Names in a folder, sorted.
std::vector<std::string> FolderEntries(const std::string& folder);

}  // namespace ondaris
