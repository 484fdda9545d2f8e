// Sound against a real PulseAudio server of the test's own: a null sink
// plays a known 1 kHz tone, a line source taken from the sink's monitor is
// the default input (Qt lists no monitor sources as inputs). Without
// pulseaudio the tests are skipped and say why.
//
// The server's line source delivers its first sound about 1.5 s after a
// capture starts, so the length is timed from the first sound.

#include <sndfile.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>

#include "E2eSupport.h"
#include "platform/qt/QtAudio.h"

namespace ondaris {
namespace {

namespace fs = std::filesystem;

struct WaveCheck {
  bool readable = false;
  int format = 0;
  long long dataBytes = 0;
  double seconds = 0;
  double strongestHz = 0;
};

// The strongest of the 50 Hz steps from 100 to 5000 Hz over one second
// from the middle of the file (first channel).
WaveCheck Check(const std::string& path) {
  WaveCheck c;
  SF_INFO info{};
  SNDFILE* f = sf_open(path.c_str(), SFM_READ, &info);
  if (!f) return c;
  c.readable = true;
  c.format = info.format;
  c.seconds = static_cast<double>(info.frames) / info.samplerate;
  c.dataBytes = static_cast<long long>(info.frames) * info.channels * 2;
  std::vector<short> all(static_cast<std::size_t>(info.frames * info.channels));
  sf_readf_short(f, all.data(), info.frames);
  sf_close(f);
  const sf_count_t n = std::min<sf_count_t>(info.samplerate, info.frames);
  const sf_count_t start = (info.frames - n) / 2;
  double best = -1;
  for (int hz = 100; hz <= 5000; hz += 50) {
    double re = 0, im = 0;
    for (sf_count_t i = 0; i < n; ++i) {
      const double x = all[static_cast<std::size_t>((start + i) * info.channels)];
      re += x * std::cos(2 * M_PI * hz * i / info.samplerate);
      im += x * std::sin(2 * M_PI * hz * i / info.samplerate);
    }
    if (re * re + im * im > best) {
      best = re * re + im * im;
      c.strongestHz = hz;
    }
  }
  return c;
}

class SoundServer : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    dir_ = new QTemporaryDir;
    const QString root = dir_->path();
    env_ = QProcessEnvironment::systemEnvironment();
    env_.insert("XDG_RUNTIME_DIR", root);
    env_.insert("HOME", root);
    env_.insert("PULSE_SERVER", "unix:" + root + "/pulse.sock");
    const QStringList args{"-n", "--daemonize=yes", "--exit-idle-time=-1", "--use-pid-file=yes", "-F", "/dev/null",
                           "--load=module-native-protocol-unix socket=" + root + "/pulse.sock auth-anonymous=1",
                           "--load=module-null-sink sink_name=ondaris_null",
                           "--load=module-remap-source master=ondaris_null.monitor source_name=ondaris_line"};
    if (Run("pulseaudio", args) != 0 || Run("pactl", {"set-default-source", "ondaris_line"}) != 0) return;
    // Qt's sound reads these once, in this process.
    for (const char* name : {"XDG_RUNTIME_DIR", "PULSE_SERVER"})
      setenv(name, env_.value(name).toLocal8Bit().constData(), 1);
    // Eight seconds of the tone at 44100 Hz, 16-bit mono.
    SF_INFO info{};
    info.samplerate = 44100;
    info.channels = 1;
    info.format = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
    SNDFILE* f = sf_open((root + "/tone.wav").toLocal8Bit().constData(), SFM_WRITE, &info);
    std::vector<short> s(8 * 44100);
    for (std::size_t i = 0; i < s.size(); ++i) s[i] = static_cast<short>(12000 * std::sin(2 * M_PI * 1000 * i / 44100));
    sf_write_short(f, s.data(), static_cast<sf_count_t>(s.size()));
    sf_close(f);
    ready_ = true;
  }
  static void TearDownTestSuite() {
    if (ready_) Run("pulseaudio", {"--kill"});
    delete dir_;
  }
  // Plays the tone into the null sink in the background.
  void SetUp() override {
    if (!ready_) GTEST_SKIP() << "no PulseAudio server could be started here (pulseaudio and pulseaudio-utils?)";
    player_.setProcessEnvironment(env_);
    player_.start("paplay", {dir_->path() + "/tone.wav"});
    ASSERT_TRUE(player_.waitForStarted(5000));
    RunFor(500);
  }
  void TearDown() override {
    if (player_.state() == QProcess::NotRunning) return;
    player_.kill();
    player_.waitForFinished(2000);
  }
  static int Run(const QString& program, const QStringList& args) {
    QProcess p;
    p.setProcessEnvironment(env_);
    p.start(program, args);
    if (!p.waitForFinished(10000)) return -1;
    return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
  }

  static inline QTemporaryDir* dir_ = nullptr;
  static inline QProcessEnvironment env_;
  static inline bool ready_ = false;
  QProcess player_;
};

TEST_F(SoundServer, ThreeSecondsOfAOneKilohertzToneMakeThreeSecondsOfSixteenBitWave) {
  const std::string path = dir_->path().toStdString() + "/tone-recorded.wav";
  QtWaveRecorder recorder;
  std::string error;
  ASSERT_TRUE(recorder.startRecording(path, error)) << error;
  // Three seconds of sound that arrived, not of the wall clock: a busy
  // machine hands the sound over late and in larger pieces.
  ASSERT_TRUE(RunUntil([&] { return recorder.recordedMs() >= 3000; }, 20000)) << recorder.recordedMs() << " ms arrived";
  recorder.finishRecording();
  const WaveCheck c = Check(path);
  ASSERT_TRUE(c.readable);
  EXPECT_EQ(c.format, SF_FORMAT_WAV | SF_FORMAT_PCM_16);
  // The file holds every frame that arrived, and only those.
  EXPECT_NEAR(c.seconds * 1000, recorder.recordedMs(), 1);
  EXPECT_GE(c.seconds, 3.0);
  EXPECT_LT(c.seconds, 3.6);  // the last piece that was handed over
  EXPECT_DOUBLE_EQ(c.strongestHz, 1000.0);
  EXPECT_NEAR(recorder.waveLengthMs(path), c.seconds * 1000, 2);
}

TEST_F(SoundServer, ExpressRecordingEndedBySigtermLeavesACompleteFile) {
  const fs::path data = dir_->path().toStdString() + "/data";
  fs::create_directories(data);
  Environment env = ProgramEnvironment(env_.value("XDG_RUNTIME_DIR"));
  env.insert(
      {{"PULSE_SERVER", env_.value("PULSE_SERVER")}, {"HOME", env_.value("HOME")}, {"ONDARIS_EXPRESS_RECORD", "1"}});
  Child program;
  ASSERT_TRUE(
      program.start(kBinDir + "/ondaris", {"--port", "SIM", "--data-dir", QString::fromStdString(data.string())}, env));
  // Recording has begun once its working file is there.
  const fs::path waveDir = data / "WaveFiles";
  auto waves = [&] { return fs::exists(waveDir) ? FolderEntries(waveDir.string()) : std::vector<std::string>(); };
  RunUntil([&] { return !waves().empty(); }, 15000);
  ASSERT_EQ(waves().size(), 1u) << program.output();
  RunFor(4000);
  program.signal(SIGTERM);
  EXPECT_EQ(program.waitExit(15000), 0) << program.output();
  const std::vector<std::string> kept = waves();
  ASSERT_EQ(kept.size(), 1u);
  EXPECT_EQ(kept[0].find(".recording."), std::string::npos) << kept[0];
  const std::string wave = (waveDir / kept[0]).string();
  const WaveCheck c = Check(wave);
  ASSERT_TRUE(c.readable);
  // The header states exactly the data that is there.
  const auto size = static_cast<long long>(fs::file_size(wave));
  EXPECT_GE(size - c.dataBytes, 44);
  EXPECT_LE(size - c.dataBytes, 100);
  EXPECT_GT(c.seconds, 1.5);
  EXPECT_DOUBLE_EQ(c.strongestHz, 1000.0);
}

}  // namespace
}  // namespace ondaris
