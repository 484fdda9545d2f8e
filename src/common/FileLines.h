#pragma once
// Splitting the bytes of a whole text file into lines, the same way for every
// data file of the program.

#include <cstddef>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace ondaris {

// The lines of a file as read from disk, kept in one buffer. A line ends at
// LF, with one CR before it dropped, so CR LF and LF files read alike; a last
// line without a line end still counts, and nothing after a final line end
// does.
class FileLineList {
 public:
  FileLineList() = default;
  explicit FileLineList(std::string bytes) { Assign(std::move(bytes)); }

  void Assign(std::string bytes);
  void clear();
  std::size_t size() const { return spans_.size(); }
  bool empty() const { return spans_.empty(); }
  std::string_view operator[](std::size_t index) const {
    return std::string_view(bytes_).substr(spans_[index].first, spans_[index].second);
  }
  const std::string& Bytes() const { return bytes_; }

 private:
  std::string bytes_;
  std::vector<std::pair<std::size_t, std::size_t>> spans_;  // offset, length
};

// Splits file bytes into lines by the rule of FileLineList, without copying.
std::vector<std::string_view> SplitFileLines(std::string_view bytes);

}  // namespace ondaris
