#include "common/AtomicFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>

#include "common/Errors.h"

namespace ondaris {

namespace {

std::string Reason(int error) { return std::strerror(error); }

[[noreturn]] void ThrowWriteError(const std::string& path, int error) {
  throw FileError("Could not write the file " + path + " (" + Reason(error) + ")");
}

[[noreturn]] void ThrowReadError(const std::string& path, int error) {
  throw FileError("Could not read the file " + path + " (" + Reason(error) + ")");
}

// Closes a descriptor and removes the temporary file unless told to keep it.
class TemporaryFile {
 public:
  TemporaryFile(int fd, std::string path) : fd_(fd), path_(std::move(path)) {}
  TemporaryFile(const TemporaryFile&) = delete;
  TemporaryFile& operator=(const TemporaryFile&) = delete;
  ~TemporaryFile() {
    if (fd_ >= 0) ::close(fd_);
    if (!renamed_) ::unlink(path_.c_str());
  }
  int fd() const { return fd_; }
  const std::string& path() const { return path_; }
  // Closes the descriptor; returns 0 or the error number.
  int close() {
    const int result = ::close(fd_);
    fd_ = -1;
    return result == 0 ? 0 : errno;
  }
  void markRenamed() { renamed_ = true; }

 private:
  int fd_;
  std::string path_;
  bool renamed_ = false;
};

std::string FolderOf(const std::string& path) {
  const auto slash = path.find_last_of('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

std::string NameOf(const std::string& path) {
  const auto slash = path.find_last_of('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

// Opens a new, unique temporary file next to `path`. The name starts with a
// dot so that a leftover from a crash does not show up as a data file.
TemporaryFile CreateTemporaryNextTo(const std::string& path) {
  static std::atomic<unsigned> counter{0};
  const std::string folder = FolderOf(path);
  const std::string prefix = (folder == "/" ? std::string("/") : folder + "/") + "." + NameOf(path) + ".tmp-" +
                             std::to_string(::getpid()) + "-";
  for (int attempt = 0; attempt < 100; ++attempt) {
    std::string candidate = prefix + std::to_string(counter.fetch_add(1));
    const int fd = ::open(candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0) return TemporaryFile(fd, std::move(candidate));
    if (errno != EEXIST) ThrowWriteError(path, errno);
  }
  ThrowWriteError(path, EEXIST);
}

}  // namespace

void WriteFileAtomically(const std::string& path, std::string_view bytes) {
  TemporaryFile temp = CreateTemporaryNextTo(path);

  // Keep the permissions of the file being replaced.
  struct stat old {};
  if (::stat(path.c_str(), &old) == 0 && S_ISREG(old.st_mode)) ::fchmod(temp.fd(), old.st_mode & 07777);

  const char* data = bytes.data();
  std::size_t left = bytes.size();
  while (left > 0) {
    const ssize_t written = ::write(temp.fd(), data, left);
    if (written < 0) {
      if (errno == EINTR) continue;
      ThrowWriteError(path, errno);
    }
    data += written;
    left -= static_cast<std::size_t>(written);
  }
  if (::fsync(temp.fd()) != 0) ThrowWriteError(path, errno);
  if (const int error = temp.close(); error != 0) ThrowWriteError(path, error);
  if (::rename(temp.path().c_str(), path.c_str()) != 0) ThrowWriteError(path, errno);
  temp.markRenamed();

  // Make the rename itself durable; the new file is complete either way, so a
  // folder that cannot be synced is not an error.
  const int folder = ::open(FolderOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (folder >= 0) {
    ::fsync(folder);
    ::close(folder);
  }
}

std::optional<std::string> ReadWholeFile(const std::string& path) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    if (errno == ENOENT || errno == ENOTDIR) return std::nullopt;
    ThrowReadError(path, errno);
  }
  std::string contents;
  char buffer[65536];
  for (;;) {
    const ssize_t got = ::read(fd, buffer, sizeof buffer);
    if (got < 0) {
      if (errno == EINTR) continue;
      const int error = errno;
      ::close(fd);
      ThrowReadError(path, error);
    }
    if (got == 0) break;
    contents.append(buffer, static_cast<std::size_t>(got));
  }
  ::close(fd);
  return contents;
}

bool FileExists(const std::string& path) {
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0;
}

}  // namespace ondaris
