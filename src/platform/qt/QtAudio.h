#pragma once
// Sound over Qt Multimedia: QAudioSource captures the default input and
// libsndfile writes it as 16-bit PCM wave, its header brought up to date
// every second so that the file on disk always states its true length;
// playback streams a wave file through QAudioSink, the looped alarm is a
// QSoundEffect.

#include <QObject>
#include <memory>

#include "platform/Audio.h"

class QAudioSink;
class QAudioSource;
class QIODevice;
class QSoundEffect;

namespace ondaris {

class QtWaveRecorder : public QObject, public WaveRecorder {
 public:
  QtWaveRecorder();
  ~QtWaveRecorder() override;
  bool startRecording(const std::string& path, std::string& error) override;
  void pauseRecording() override;
  bool resumeRecording(std::string& error) override;
  void finishRecording() override;
  bool recordingOpen() const override { return file_ != nullptr; }
  std::int64_t recordedMs() const override;
  std::int64_t waveLengthMs(const std::string& path) const override;

 private:
  void Drain();
  void Fail(const std::string& reason);
  void Close();

  std::unique_ptr<QAudioSource> source_;
  QIODevice* input_ = nullptr;
  void* file_ = nullptr;  // SNDFILE*
  int channels_ = 1;
  int rate_ = 44100;
  std::int64_t frames_ = 0;
  std::int64_t framesAtHeader_ = 0;
  QByteArray pending_;
};

class QtSoundPlayer : public QObject, public SoundPlayer {
 public:
  QtSoundPlayer();
  ~QtSoundPlayer() override;
  bool play(const std::string& path, bool loop, std::string& error) override;
  void stopAll() override;
  bool playing() const override;

 private:
  std::unique_ptr<QSoundEffect> effect_;
  std::unique_ptr<QAudioSink> sink_;
  std::unique_ptr<QIODevice> stream_;
};

}  // namespace ondaris
