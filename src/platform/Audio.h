#pragma once
// Sound: recording the default audio input (the receiver's line output is
// wired there) into wave files, and playing wave files, once or looped (the
// alarm). The Qt implementations use Qt Multimedia and libsndfile; tests use
// fakes. Nothing here blocks the caller for longer than opening a file.

#include <cstdint>
#include <functional>
#include <string>

namespace ondaris {

class WaveRecorder {
 public:
  virtual ~WaveRecorder() = default;

  // Creates a 16-bit PCM wave file at `path` (replacing one of that name)
  // and starts capturing into it. False with the reason in `error` when the
  // capture cannot start (no input device, folder not writable); no file is
  // left behind then.
  virtual bool startRecording(const std::string& path, std::string& error) = 0;
  // Stops capturing; the file stays open for resumeRecording.
  virtual void pauseRecording() = 0;
  virtual bool resumeRecording(std::string& error) = 0;
  // Stops capturing and closes the file with its final header. Does nothing
  // when no file is open.
  virtual void finishRecording() = 0;
  virtual bool recordingOpen() const = 0;
  // The length of what has been captured into the open file (or the last one).
  virtual std::int64_t recordedMs() const = 0;

  // The length of an existing wave file; -1 when it cannot be read as one.
  virtual std::int64_t waveLengthMs(const std::string& path) const = 0;

  // Capturing stopped by itself (device gone, disk full): the file has been
  // closed holding everything captured until then.
  std::function<void(const std::string& reason)> onFailure;
};

class SoundPlayer {
 public:
  virtual ~SoundPlayer() = default;
  // Plays a wave file asynchronously, once or again and again until stopped.
  // False with the reason when it cannot be played.
  virtual bool play(const std::string& path, bool loop, std::string& error) = 0;
  // Stops everything this player plays.
  virtual void stopAll() = 0;
  virtual bool playing() const = 0;
};

}  // namespace ondaris
