#include "support/FakeAudio.h"

#include <fstream>

namespace ondaris {

bool FakeWaveRecorder::startRecording(const std::string& path, std::string& error) {
  if (!refuseWith.empty()) {
    error = refuseWith;
    return false;
  }
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  if (!file) {
    error = "cannot create " + path;
    return false;
  }
  file << "RIFF-fake:" << path;
  started.push_back(path);
  path_ = path;
  open_ = capturing_ = true;
  capturedMs = 0;
  return true;
}

bool FakeWaveRecorder::resumeRecording(std::string& error) {
  if (!open_) {
    error = "no recording is open";
    return false;
  }
  capturing_ = true;
  return true;
}

void FakeWaveRecorder::finishRecording() { open_ = capturing_ = false; }

std::int64_t FakeWaveRecorder::waveLengthMs(const std::string& path) const {
  const auto found = lengths.find(path);
  return found == lengths.end() ? -1 : found->second;
}

void FakeWaveRecorder::fail(const std::string& reason) {
  open_ = capturing_ = false;
  if (onFailure) onFailure(reason);
}

bool FakeSoundPlayer::play(const std::string& path, bool loop, std::string& error) {
  if (!refuseWith.empty()) {
    error = refuseWith;
    return false;
  }
  plays.push_back({path, loop});
  playing_ = true;
  return true;
}

}  // namespace ondaris
