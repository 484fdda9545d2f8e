#pragma once
// Sound for tests. FakeWaveRecorder writes a small stand-in file where a
// recording goes (so saving, replacing and dropping can be checked on disk)
// and can be told to refuse to start or to fail while capturing;
// FakeSoundPlayer records what it was asked to play.

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "platform/Audio.h"

namespace ondaris {

class FakeWaveRecorder : public WaveRecorder {
 public:
  bool startRecording(const std::string& path, std::string& error) override;
  void pauseRecording() override { capturing_ = false; }
  bool resumeRecording(std::string& error) override;
  void finishRecording() override;
  bool recordingOpen() const override { return open_; }
  std::int64_t recordedMs() const override { return capturedMs; }
  std::int64_t waveLengthMs(const std::string& path) const override;

  // Makes the capture stop by itself, as a lost device would.
  void fail(const std::string& reason);

  std::string refuseWith;            // non-empty: startRecording fails with it
  std::int64_t capturedMs = 0;       // what recordedMs() reports
  std::map<std::string, std::int64_t> lengths;  // waveLengthMs answers by path
  std::vector<std::string> started;  // paths, in order
  bool capturing() const { return capturing_; }

 private:
  std::string path_;
  bool open_ = false;
  bool capturing_ = false;
};

class FakeSoundPlayer : public SoundPlayer {
 public:
  struct Play {
    std::string path;
    bool loop;
  };
  bool play(const std::string& path, bool loop, std::string& error) override;
  void stopAll() override {
    playing_ = false;
    ++stops;
  }
  bool playing() const override { return playing_; }

  std::vector<Play> plays;
  int stops = 0;
  std::string refuseWith;

 private:
  bool playing_ = false;
};

}  // namespace ondaris
