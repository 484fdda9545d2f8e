// The rigctl server's options: what OK refuses, the settings file written
// and read back through the fields, and the server started, restarted and
// stopped as the choices change.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "options/RigctlOptions.h"
#include "radio/RigctlServer.h"
#include "support/PanelFixture.h"
#include "support/TempFolder.h"

namespace ondaris {
namespace {

// Remembers where it was asked to listen; one port can be taken.
struct ListenLog : TcpListener {
  bool listen(const std::string& address, int port, std::string& error) override {
    calls.emplace_back(address, port);
    listening_ = port != takenPort;
    if (!listening_) error = "The bound address is already in use";
    return listening_;
  }
  void close() override { listening_ = false; }
  bool listening() const override { return listening_; }
  int port() const override { return listening_ ? calls.back().second : 0; }
  void send(ConnectionId, std::string_view) override {}
  std::size_t unsentBytes(ConnectionId) const override { return 0; }
  void disconnect(ConnectionId) override {}
  std::vector<std::pair<std::string, int>> calls;
  int takenPort = -1;
  bool listening_ = false;
};

class RigctlOptionsTest : public PanelFixture {
 protected:
  RigctlOptionsTest() { section.setServer(&server); }
  void Choose(bool on, const std::string& address, const std::string& port) {
    section.Fill();
    section.RigctlOnBox = on;
    section.RigctlAddressEdit = address;
    section.RigctlPortEdit = port;
  }
  void Apply(bool on, const std::string& address, const std::string& port) {
    Choose(on, address, port);
    section.Apply();
  }
  static std::tuple<bool, std::string, std::string> Fields(const RigctlOptions& shown) {
    return {shown.RigctlOnBox, shown.RigctlAddressEdit, shown.RigctlPortEdit};
  }
  TempFolder folder{true};
  std::string dir = folder.dir();
  ListenLog listener;
  RigctlServer server{ctx, receiver, controls, tuning, listener};
  RigctlSettings settings;
  RigctlOptions section{ctx, settings, dir};
};

TEST(RigctlOptionsCheck, RefusesWhatCannotBeListenedOn) {
  const struct {
    const char *address, *port, *refusal;  // refusal empty: taken
  } rows[] = {
      {"127.0.0.1", "4532", ""},
      {" 192.168.1.20 ", " 1 ", ""},
      {"::1", "65535", ""},
      {"127.0.0.1", "0", RigctlPortRefusedMessage},
      {"127.0.0.1", "65536", RigctlPortRefusedMessage},
      {"127.0.0.1", "45x2", RigctlPortRefusedMessage},
      {"127.0.0.1", "", RigctlPortRefusedMessage},
      {"", "4532", RigctlAddressRefusedMessage},
      {"256.0.0.1", "4532", RigctlAddressRefusedMessage},
      {"localhost", "4532", RigctlAddressRefusedMessage},
      {"::g", "4532", RigctlAddressRefusedMessage},
  };
  PanelRig rig;
  const std::string dir = "/nonexistent/";
  for (const auto& row : rows) {
    RigctlSettings settings;
    RigctlOptions section(rig.ctx, settings, dir);
    section.RigctlAddressEdit = row.address;
    section.RigctlPortEdit = row.port;
    EXPECT_EQ(section.Check(), row.refusal) << row.address << " " << row.port;
    EXPECT_EQ(settings, RigctlSettings{});  // checking changes nothing
  }
}

TEST_F(RigctlOptionsTest, FieldsRoundTripThroughTheSettingsFile) {
  section.Fill();
  EXPECT_EQ(Fields(section), std::tuple(false, "127.0.0.1", "4532"));

  Choose(true, " ::1 ", "14532");
  ASSERT_EQ(section.Check(), "");
  section.Apply();
  EXPECT_EQ(ReadFileBytes(folder.sysFile("RigctlServer.dat")), "1\r\n::1\r\n14532\r\n");

  RigctlSettings reread = ReadRigctlSettings(dir);
  RigctlOptions next(ctx, reread, dir);
  next.Fill();
  EXPECT_EQ(Fields(next), std::tuple(true, "::1", "14532"));
}

TEST_F(RigctlOptionsTest, ApplyStartsRestartsAndStopsTheServer) {
  using Calls = std::vector<std::pair<std::string, int>>;
  Apply(true, "127.0.0.1", "4532");
  EXPECT_TRUE(server.running());
  // Nothing changed: the running server is left alone.
  Apply(true, "127.0.0.1", "4532");
  EXPECT_EQ(listener.calls, (Calls{{"127.0.0.1", 4532}}));

  Apply(true, "10.0.0.2", "4533");
  EXPECT_EQ(std::tuple(listener.calls.back(), server.running()),
            std::tuple(std::pair<std::string, int>("10.0.0.2", 4533), true));

  // A taken port is said; pressing OK again tries again.
  listener.takenPort = 4534;
  Apply(true, "10.0.0.2", "4534");
  EXPECT_FALSE(server.running());
  EXPECT_EQ(reportedErrors, std::vector<std::string>{"The rigctl server cannot listen on 10.0.0.2 port 4534: "
                                                     "The bound address is already in use"});
  listener.takenPort = -1;
  Apply(true, "10.0.0.2", "4534");
  EXPECT_EQ(std::tuple(server.running(), listener.calls.size()), std::tuple(true, 4u));

  Apply(false, "10.0.0.2", "4534");
  EXPECT_EQ(std::tuple(server.running(), listener.calls.size(), messages.messages().empty()),
            std::tuple(false, 4u, true));
  EXPECT_EQ(ReadRigctlSettings(dir), (RigctlSettings{false, "10.0.0.2", 4534}));
}

TEST_F(RigctlOptionsTest, AFileThatCannotBeWrittenIsSaidAndTheServerStillFollows) {
  std::filesystem::remove_all(folder.path() / "SysFiles");
  WriteFileBytes(folder.file("SysFiles"), "not a folder");
  Apply(true, "127.0.0.1", "4540");
  EXPECT_THAT(messages.messages(), ::testing::ElementsAre(::testing::StartsWith(RigctlSaveFailedMessage)));
  EXPECT_EQ(std::tuple(server.running(), settings), std::tuple(true, RigctlSettings{true, "127.0.0.1", 4540}));
}

}  // namespace
}  // namespace ondaris
