#include "platform/qt/QtAudio.h"

#include <sndfile.h>

#include <QAudioDevice>
#include <QAudioFormat>
#include <QAudioSink>
#include <QAudioSource>
#include <QIODevice>
#include <QMediaDevices>
#include <QSoundEffect>
#include <QUrl>
#include <cstdio>

namespace ondaris {

namespace {

SNDFILE* Snd(void* file) { return static_cast<SNDFILE*>(file); }

// A wave file read in pieces as the sink asks for them.
class WaveStream : public QIODevice {
 public:
  explicit WaveStream(SNDFILE* file) : file_(file) { open(QIODevice::ReadOnly); }
  ~WaveStream() override { sf_close(file_); }
  bool isSequential() const override { return true; }

 protected:
  qint64 readData(char* data, qint64 maxSize) override {
    const sf_count_t shorts = sf_read_short(file_, reinterpret_cast<short*>(data), maxSize / 2);
    return shorts > 0 ? shorts * 2 : 0;
  }
  qint64 writeData(const char*, qint64) override { return -1; }

 private:
  SNDFILE* file_;
};

}  // namespace

// ---- Recording -----------------------------------------------------------------

QtWaveRecorder::QtWaveRecorder() = default;

QtWaveRecorder::~QtWaveRecorder() { finishRecording(); }

bool QtWaveRecorder::startRecording(const std::string& path, std::string& error) {
  finishRecording();
  const QAudioDevice device = QMediaDevices::defaultAudioInput();
  if (device.isNull()) {
    error = "no audio input device";
    return false;
  }
  QAudioFormat format = device.preferredFormat();
  format.setSampleFormat(QAudioFormat::Int16);
  if (!device.isFormatSupported(format)) {
    format.setSampleRate(44100);
    format.setChannelCount(2);
  }
  channels_ = format.channelCount() > 0 ? format.channelCount() : 1;
  rate_ = format.sampleRate() > 0 ? format.sampleRate() : 44100;

  SF_INFO info{};
  info.samplerate = rate_;
  info.channels = channels_;
  info.format = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
  SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
  if (!file) {
    error = std::string("cannot create the wave file: ") + sf_strerror(nullptr);
    return false;
  }
  file_ = file;
  frames_ = framesAtHeader_ = 0;
  pending_.clear();
  source_ = std::make_unique<QAudioSource>(device, format);
  source_->setBufferSize(rate_ * channels_ * 2 / 2);  // half a second
  if (!resumeRecording(error)) {
    Close();
    std::remove(path.c_str());
    return false;
  }
  return true;
}

bool QtWaveRecorder::resumeRecording(std::string& error) {
  if (!file_ || !source_) {
    error = "no recording is open";
    return false;
  }
  input_ = source_->start();
  if (!input_ || source_->error() != QAudio::NoError) {
    error = "the audio input device cannot be opened";
    input_ = nullptr;
    return false;
  }
  connect(input_, &QIODevice::readyRead, this, [this] { Drain(); });
  connect(source_.get(), &QAudioSource::stateChanged, this, [this](QAudio::State) {
    if (source_ && source_->error() != QAudio::NoError && source_->error() != QAudio::UnderrunError)
      Fail("the audio input device failed");
  });
  return true;
}

void QtWaveRecorder::Drain() {
  if (!input_ || !file_) return;
  pending_.append(input_->readAll());
  const qsizetype frameBytes = 2 * channels_;
  const qsizetype whole = pending_.size() / frameBytes;
  if (whole == 0) return;
  const sf_count_t written = sf_writef_short(Snd(file_), reinterpret_cast<const short*>(pending_.constData()), whole);
  pending_.remove(0, whole * frameBytes);
  if (written > 0) frames_ += written;
  if (written != whole) {
    Fail(std::string("the wave file cannot be written (") + sf_strerror(Snd(file_)) + ")");
    return;
  }
  // Once a second the header states the length so far.
  if (frames_ - framesAtHeader_ >= rate_) {
    sf_command(Snd(file_), SFC_UPDATE_HEADER_NOW, nullptr, 0);
    framesAtHeader_ = frames_;
  }
}

void QtWaveRecorder::pauseRecording() {
  if (!source_ || !input_) return;
  Drain();
  input_->disconnect(this);
  source_->disconnect(this);
  source_->stop();
  input_ = nullptr;
  if (file_) sf_command(Snd(file_), SFC_UPDATE_HEADER_NOW, nullptr, 0);
}

void QtWaveRecorder::Close() {
  if (source_) {
    source_->disconnect(this);
    source_->stop();
  }
  if (input_) input_->disconnect(this);
  input_ = nullptr;
  source_.reset();
  if (file_) sf_close(Snd(file_));
  file_ = nullptr;
}

void QtWaveRecorder::finishRecording() {
  if (!file_) return;
  pauseRecording();
  Close();
}

void QtWaveRecorder::Fail(const std::string& reason) {
  if (!file_) return;
  Close();
  if (onFailure) onFailure(reason);
}

std::int64_t QtWaveRecorder::recordedMs() const { return rate_ > 0 ? frames_ * 1000 / rate_ : 0; }

std::int64_t QtWaveRecorder::waveLengthMs(const std::string& path) const {
  SF_INFO info{};
  SNDFILE* file = sf_open(path.c_str(), SFM_READ, &info);
  if (!file) return -1;
  sf_close(file);
  return info.samplerate > 0 ? info.frames * 1000 / info.samplerate : -1;
}

// ---- Playing ---------------------------------------------------------------------

QtSoundPlayer::QtSoundPlayer() = default;

QtSoundPlayer::~QtSoundPlayer() { stopAll(); }

bool QtSoundPlayer::play(const std::string& path, bool loop, std::string& error) {
  if (loop) {
    if (!effect_) effect_ = std::make_unique<QSoundEffect>();
    effect_->stop();
    effect_->setSource(QUrl::fromLocalFile(QString::fromLocal8Bit(path.c_str())));
    effect_->setLoopCount(QSoundEffect::Infinite);
    effect_->play();
    return true;
  }
  if (sink_) sink_->stop();
  sink_.reset();
  stream_.reset();
  SF_INFO info{};
  SNDFILE* file = sf_open(path.c_str(), SFM_READ, &info);
  if (!file) {
    error = std::string("cannot read the wave file: ") + sf_strerror(nullptr);
    return false;
  }
  const QAudioDevice device = QMediaDevices::defaultAudioOutput();
  if (device.isNull()) {
    sf_close(file);
    error = "no audio output device";
    return false;
  }
  QAudioFormat format;
  format.setSampleRate(info.samplerate);
  format.setChannelCount(info.channels);
  format.setSampleFormat(QAudioFormat::Int16);
  stream_ = std::make_unique<WaveStream>(file);
  sink_ = std::make_unique<QAudioSink>(device, format);
  sink_->start(stream_.get());
  if (sink_->error() != QAudio::NoError) {
    error = "the audio output device cannot be opened";
    sink_.reset();
    stream_.reset();
    return false;
  }
  return true;
}

void QtSoundPlayer::stopAll() {
  if (effect_) effect_->stop();
  if (sink_) sink_->stop();
  sink_.reset();
  stream_.reset();
}

bool QtSoundPlayer::playing() const {
  return (effect_ && effect_->isPlaying()) || (sink_ && sink_->state() == QAudio::ActiveState);
}

}  // namespace ondaris
