// The rigctl-compatible server: its replies line by line, in the short and
// the long form, against a fake receiver; the server over the front panel's
// controls with a fake listener (the bytes a client change sends, the scan
// it ends, the clients it drops); the settings file.

#include <gtest/gtest.h>

#include <map>
#include <string>

#include "radio/RigctlServer.h"
#include "radio/RigctlSettings.h"
#include "support/PanelFixture.h"
#include "support/TempFolder.h"

namespace ondaris {
namespace {

struct FakeRadio : RigctlRadio {
  std::int64_t hz = 15000000;
  int modeNow = 0;
  int width = 6000;
  std::string lastSetMode;
  std::int64_t frequencyHz() const override { return hz; }
  bool setFrequencyHz(std::int64_t f) override {
    if (f < RigctlLowestHz || f > RigctlHighestHz) return false;
    hz = f;
    return true;
  }
  int mode() const override { return modeNow; }
  int passbandHz() const override { return width; }
  void setMode(int m, long pb) override { lastSetMode = std::to_string(m) + "/" + std::to_string(pb); }
  int normalPassbandHz(int m) const override { return m == 0 ? 6000 : m == 3 ? 300 : 2550; }
  int strengthDb() const override { return -18; }
  int rawStrength() const override { return 2100; }
};

TEST(RigctlSession, AnswersAsRigctldDoes) {
  const std::pair<const char*, const char*> replies[] = {
      {"f", "15000000\n"}, {"+f", "get_freq:\nFrequency: 15000000\nRPRT 0\n"}, {"\\get_freq", "15000000\n"},
      {";f", "get_freq:;Frequency: 15000000;RPRT 0\n"}, {"F 9580000.000000", "RPRT 0\n"},
      {"+F 9580000", "set_freq: 9580000\nRPRT 0\n"}, {"F 5", "RPRT -1\n"}, {"F abc", "RPRT -1\n"}, {"F", "RPRT -1\n"},
      {"m", "AM\n6000\n"}, {"+m", "get_mode:\nMode: AM\nPassband: 6000\nRPRT 0\n"}, {"M USB 2400", "RPRT 0\n"},
      {"+M USB 2400", "set_mode: USB 2400\nRPRT 0\n"}, {"M FM 15000", "RPRT -1\n"}, {"M USB wide", "RPRT -1\n"},
      {"v", "VFOA\n"}, {"+v", "get_vfo:\nVFO: VFOA\nRPRT 0\n"}, {"V VFOA", "RPRT 0\n"}, {"V VFOB", "RPRT -1\n"},
      {"s", "0\nVFOA\n"}, {"+s", "get_split_vfo:\nSplit: 0\nTX VFO: VFOA\nRPRT 0\n"}, {"S 1 VFOB", "RPRT -11\n"},
      {"l STRENGTH", "-18\n"}, {"+l STRENGTH", "get_level: STRENGTH\n-18\nRPRT 0\n"}, {"l RAWSTR", "2100\n"},
      {"l AF", "RPRT -1\n"}, {"L AF 0.5", "RPRT -11\n"}, {"t", "0\n"}, {"+t", "get_ptt:\nPTT: 0\nRPRT 0\n"},
      {"T 1", "RPRT -11\n"}, {"\\chk_vfo", "0\n"}, {"+\\chk_vfo", "ChkVFO: 0\n"}, {"\\get_powerstat", "1\n"},
      {"+\\get_powerstat", "get_powerstat:\nPower Status: 1\nRPRT 0\n"}, {"\\set_powerstat 0", "RPRT -11\n"},
      {"\\get_lock_mode", "0\n"}, {"J 100", "RPRT -11\n"}, {"q", "RPRT 0\n"}, {"Y", "RPRT -4\n"},
      {"\\no_such_thing", "RPRT -4\n"}, {"\x01\xff\x7f garbage", "RPRT -4\n"}, {"   ", ""}};
  for (const auto& [line, reply] : replies) {
    FakeRadio radio;
    RigctlSession session(radio);
    EXPECT_EQ(session.answer(line), reply) << line;
  }
}

TEST(RigctlSession, DumpStateIsWhatNetRigctlReads) {
  FakeRadio radio;
  RigctlSession session(radio);
  const std::string reply = session.answer("\\dump_state");
  const std::vector<std::string> lines = DumpStateLines(radio);
  // Protocol 1, the RX-320's model, the receive range, no transmit range; steps, then the normal filter
  // of each mode first, both lists ended by "0 0"; the get levels, RAWSTR and STRENGTH.
  ASSERT_GT(lines.size(), 50u);
  const std::pair<std::size_t, const char*> at[] = {
      {0, "1"}, {1, "16003"}, {3, "10000.000000 30000000.000000 0xf -1 -1 0x1 0x1"}, {4, "0 0 0 0 0 0 0"},
      {5, "0 0 0 0 0 0 0"}, {6, "0xf 1"}, {15, "0 0"}, {16, "0x1 6000"}, {17, "0xc 2550"}, {18, "0x2 300"},
      {19 + 24, "0 0"}, {19 + 24 + 9, "0x44000000"}, {lines.size() - 1, "done"}};
  for (const auto& [index, line] : at) EXPECT_EQ(lines[index], line) << index;
  for (const std::string& line : lines) EXPECT_LT(line.size(), 96u) << line;  // netrigctl's line buffer
  std::string joined;
  for (const std::string& line : lines) joined += line + "\n";
  EXPECT_EQ(reply, joined);
  EXPECT_EQ(session.answer("+\\dump_state"), "dump_state:\n" + joined + "RPRT 0\n");
}

TEST(RigctlSession, VfoModeTakesTheVfoFirst) {
  FakeRadio radio;
  RigctlSession session(radio);
  std::vector<std::string> answers;
  for (const char* line : {"\\set_vfo_opt 1", "\\chk_vfo", "f VFOA", "F VFOA 7000000", "M currVFO LSB -1", "f VFOB"})
    answers.push_back(session.answer(line));
  EXPECT_EQ(answers, (std::vector<std::string>{"RPRT 0\n", "1\n", "15000000\n", "RPRT 0\n", "RPRT 0\n", "RPRT -1\n"}));
  EXPECT_EQ(std::tuple(radio.hz, radio.lastSetMode), std::tuple(7000000, "2/-1"));
}

TEST(RigctlSession, SplitsBytesIntoLinesAndRefusesOverlongOnes) {
  FakeRadio radio;
  RigctlSession session(radio);
  std::string out;
  session.receive("f\r\nv\n\nF 95", out);
  EXPECT_EQ(out, "15000000\nVFOA\n");
  session.receive("80000\n", out);
  EXPECT_EQ(radio.hz, 9580000);
  // A line over 1 KiB is answered once, whatever its length, and dropped.
  out.clear();
  session.receive(std::string(RigctlSession::MaxLineBytes + 1, 'F'), out);
  session.receive(std::string(5000, 'x') + "\nf\n", out);
  EXPECT_EQ(out, "RPRT -8\n9580000\n");
  // Nothing is answered after "q".
  out.clear();
  session.receive("q\nf\n", out);
  EXPECT_EQ(out, "RPRT 0\n");
  EXPECT_TRUE(session.quitting());
}

// ---- The server over the front panel --------------------------------------

struct FakeListener : TcpListener {
  bool listen(const std::string&, int port, std::string& error) override {
    if (port == takenPort) {
      error = "The bound address is already in use";
      return false;
    }
    listening_ = true;
    return true;
  }
  void close() override {
    listening_ = false;
    while (!sent.empty()) disconnect(sent.begin()->first);
  }
  bool listening() const override { return listening_; }
  int port() const override { return 0; }
  void send(ConnectionId id, std::string_view bytes) override { sent[id] += bytes; }
  std::size_t unsentBytes(ConnectionId id) const override {
    const auto found = sent.find(id);
    return found == sent.end() || reading ? 0 : found->second.size();
  }
  void disconnect(ConnectionId id) override {
    sent.erase(id);
    dropped.push_back(id);
    if (onDisconnected) onDisconnected(id);
  }
  void connectClient(ConnectionId id) {
    sent[id];
    onConnected(id);
  }
  std::string ask(ConnectionId id, const std::string& line) {
    sent[id].clear();
    onReceived(id, line + "\n");
    return sent.count(id) ? sent[id] : std::string();
  }
  int takenPort = -1;
  bool listening_ = false;
  bool reading = true;
  std::map<ConnectionId, std::string> sent;
  std::vector<ConnectionId> dropped;
};

class RigctlServerTest : public PanelFixture {
 protected:
  FakeListener listener;
  RigctlServer server{ctx, receiver, controls, tuning, listener};
  // The same receiver driven by the front panel's buttons.
  PanelRig frontPanel;
};

TEST_F(RigctlServerTest, ClientChangesSendWhatTheFrontPanelSends) {
  std::string problem;
  ASSERT_TRUE(server.Start("127.0.0.1", 4532, problem));
  listener.connectClient(1);

  EXPECT_EQ(listener.ask(1, "F 9580000"), "RPRT 0\n");
  EXPECT_EQ(listener.ask(1, "M USB 2400"), "RPRT 0\n");
  frontPanel.state.Freq = 9580;
  frontPanel.receiver.TuneRadio();
  frontPanel.controls.ModeBtnClick(1);
  frontPanel.controls.FiltBtnClick(14);
  ASSERT_TRUE(flushLine());
  ASSERT_TRUE(frontPanel.flushLine());
  EXPECT_EQ(HexBytes(sentBytes()), HexBytes(frontPanel.sentBytes()));
  EXPECT_EQ(std::tuple(panel[Ctl::FreqDispPanel].caption, panel[ModeButton(1)].pressed, listener.ask(1, "m"),
                       listener.ask(1, "f"), state.LastFreqRecord.valid, state.LastFreqRecord.freq),
            std::tuple("9580.000", true, "USB\n2400\n", "9580000\n", true, 15000.0));

  // Setting what is set already sends nothing; "M AM 0" is the AM button.
  clearRecords();
  EXPECT_EQ(listener.ask(1, "F 9580000") + listener.ask(1, "M USB -1"), "RPRT 0\nRPRT 0\n");
  ASSERT_TRUE(flushLine());
  EXPECT_EQ(sentUnits().size(), 0u);
  EXPECT_EQ(std::tuple(listener.ask(1, "M AM 0"), state.Bandwidth), std::tuple("RPRT 0\n", 6000));
  ASSERT_TRUE(flushLine());
  EXPECT_EQ(sentUnits().size(), 1u);
}

TEST_F(RigctlServerTest, AChangeEndsTheRunningScanAndReadsTheMeter) {
  std::string problem;
  ASSERT_TRUE(server.Start("127.0.0.1", 4532, problem));
  listener.connectClient(1);
  ctx.scan.ScanState = 1;
  panel.press(Ctl::ScanBtn);
  EXPECT_EQ(listener.ask(1, "f"), "15000000\n");
  EXPECT_EQ(endScanCalls, 0);  // reading changes nothing
  EXPECT_EQ(listener.ask(1, "F 7100000"), "RPRT 0\n");
  EXPECT_EQ(endScanCalls, 1);
  EXPECT_FALSE(panel[Ctl::ScanBtn].pressed);

  panel.setRange(Ctl::Meter, 0, 10000);
  panel.setValue(Ctl::Meter, 5000);
  EXPECT_EQ(listener.ask(1, "l RAWSTR"), "5000\n");
  EXPECT_EQ(listener.ask(1, "l STRENGTH"), "3\n");  // half of S0..S9+60
}

TEST_F(RigctlServerTest, ATakenPortIsSaidAndSilentOrSurplusClientsAreDropped) {
  std::string problem;
  listener.takenPort = 4532;
  EXPECT_FALSE(server.Start("127.0.0.1", 4532, problem));
  EXPECT_EQ(problem, "The rigctl server cannot listen on 127.0.0.1 port 4532: The bound address is already in use");
  ASSERT_TRUE(server.Start("127.0.0.1", 4533, problem));

  for (TcpListener::ConnectionId id = 1; id <= RigctlServer::MaxClients + 1; ++id) listener.connectClient(id);
  EXPECT_EQ(server.clientCount(), RigctlServer::MaxClients);
  EXPECT_EQ(listener.dropped, std::vector<TcpListener::ConnectionId>{RigctlServer::MaxClients + 1});

  // A client that never reads is dropped once its replies pile up.
  listener.reading = false;
  std::string flood;
  for (int i = 0; i < 40000; ++i) flood += "\\dump_state\n";
  // Offered as a listener does: what the server leaves comes again.
  std::string_view rest = std::string_view(flood).substr(0, flood.size() / 2);
  while (!rest.empty() && server.clientCount() == RigctlServer::MaxClients)
    rest.remove_prefix(listener.onReceived(2, rest));
  EXPECT_EQ(server.clientCount(), RigctlServer::MaxClients - 1);
  EXPECT_EQ(listener.ask(3, "q"), "");  // answered, then the connection closes
  EXPECT_EQ(server.clientCount(), RigctlServer::MaxClients - 2);
}

TEST(RigctlSettingsFile, RoundTripsAndFallsBackToDefaults) {
  TempFolder folder(true);
  const std::string dir = folder.path().string();
  const RigctlSettings defaults;
  EXPECT_EQ(ReadRigctlSettings(dir), defaults);  // no file yet
  const RigctlSettings chosen{true, "192.168.1.20", 14532};
  WriteRigctlSettings(dir, chosen);
  EXPECT_EQ(ReadRigctlSettings(dir), chosen);
  EXPECT_EQ(EncodeRigctlSettings(chosen), "1\r\n192.168.1.20\r\n14532\r\n");
  const struct {
    const char* text;
    RigctlSettings expected;
  } damaged[] = {
      {"", defaults},
      {"1\n", {true, "127.0.0.1", 4532}},
      {"1\r\nsome where\r\n99999\r\n", {true, "127.0.0.1", 4532}},
      {"0\r\n::1\r\n4533", {false, "::1", 4533}},
  };
  for (const auto& c : damaged) EXPECT_EQ(DecodeRigctlSettings(c.text), c.expected) << c.text;
}

}  // namespace
}  // namespace ondaris
