#pragma once
// Whole-file reading and writing for the data files.
//
// Every data file is replaced atomically: the new contents go to a temporary
// file in the same folder, are flushed to disk, and the temporary file is then
// renamed over the old one. A crash or a full disk never leaves a half-written
// file, and a save that fails leaves the old file exactly as it was.

#include <optional>
#include <string>
#include <string_view>

namespace ondaris {

// Replaces (or creates) `path` with `bytes`. A file that already exists keeps
// its permissions. Throws FileError, naming the file and the system's reason,
// when the file cannot be written; the old file is then untouched.
void WriteFileAtomically(const std::string& path, std::string_view bytes);

// The whole contents of `path`, byte for byte. std::nullopt when the file does
// not exist (nor the folder it would be in); throws FileError when it exists
// but cannot be read (a folder of that name, no permission, a read error).
std::optional<std::string> ReadWholeFile(const std::string& path);

// True when `path` names an existing file or folder.
bool FileExists(const std::string& path);

}  // namespace ondaris
