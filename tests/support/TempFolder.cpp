#include "support/TempFolder.h"

#include <signal.h>
#include <stdlib.h>
#include <sys/resource.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace ondaris {

namespace fs = std::filesystem;

TempFolder::TempFolder(bool withSysFiles) {
  std::string pattern = (fs::temp_directory_path() / "ondaris-test-XXXXXX").string();
  if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
  root_ = pattern;
  if (withSysFiles) fs::create_directory(root_ / "SysFiles");
}

TempFolder::~TempFolder() {
  std::error_code ignored;
  fs::remove_all(root_, ignored);
}

std::string ReadFileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteFileBytes(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << bytes;
}

void WithFileSizeLimit(std::size_t bytes, const std::function<void()>& action) {
  struct rlimit saved {};
  if (::getrlimit(RLIMIT_FSIZE, &saved) != 0) throw std::runtime_error("getrlimit failed");
  const auto savedHandler = ::signal(SIGXFSZ, SIG_IGN);
  struct rlimit small = saved;
  small.rlim_cur = bytes;
  if (::setrlimit(RLIMIT_FSIZE, &small) != 0) {
    ::signal(SIGXFSZ, savedHandler);
    throw std::runtime_error("setrlimit failed");
  }
  try {
    action();
  } catch (...) {
    ::setrlimit(RLIMIT_FSIZE, &saved);
    ::signal(SIGXFSZ, savedHandler);
    throw;
  }
  ::setrlimit(RLIMIT_FSIZE, &saved);
  ::signal(SIGXFSZ, savedHandler);
}

std::vector<std::string> FolderEntries(const std::string& folder) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder)) names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

}  // namespace ondaris
