#include "common/FileLines.h"

namespace ondaris {

namespace {

template <class Visit>
void ForEachLineSpan(std::string_view bytes, Visit&& visit) {
  std::size_t start = 0;
  while (start < bytes.size()) {
    std::size_t end = bytes.find('\n', start);
    const std::size_t next = end == std::string_view::npos ? bytes.size() : end + 1;
    if (end == std::string_view::npos) end = bytes.size();
    std::size_t length = end - start;
    if (end < bytes.size() && length > 0 && bytes[end - 1] == '\r') --length;
    visit(start, length);
    start = next;
  }
}

}  // namespace

void FileLineList::Assign(std::string bytes) {
  bytes_ = std::move(bytes);
  spans_.clear();
  ForEachLineSpan(bytes_, [this](std::size_t offset, std::size_t length) { spans_.emplace_back(offset, length); });
}

void FileLineList::clear() {
  bytes_.clear();
  spans_.clear();
}

std::vector<std::string_view> SplitFileLines(std::string_view bytes) {
  std::vector<std::string_view> lines;
  ForEachLineSpan(bytes, [&](std::size_t offset, std::size_t length) { lines.push_back(bytes.substr(offset, length)); });
  return lines;
}

}  // namespace ondaris
