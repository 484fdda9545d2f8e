// The fake port every controller test stands on: its line model and its
// records must be right, or the link's pacing tests would prove nothing.

#include <gmock/gmock.h>
#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include "support/FakeSerialPort.h"
#include "support/FakeTimeline.h"
#include "support/ScriptedMessageBoxes.h"

namespace ondaris {
namespace {

using ::testing::ElementsAre;

TEST(FakeSerialPort, LineSendsOneByteEvery8Point33Ms) {
  FakeTimeline timeline;
  FakeSerialPort port(&timeline);
  std::string error;
  ASSERT_TRUE(port.open("/dev/ttyS0", error));
  ASSERT_TRUE(port.write("ABCDEFGHIJKL", error));  // 12 bytes: 100 ms
  EXPECT_EQ(port.bytesQueuedForLine(), 12u);
  timeline.advanceBy(8);
  EXPECT_EQ(port.bytesQueuedForLine(), 12u);
  timeline.advanceBy(1);  // 9 ms: the first byte is out
  EXPECT_EQ(port.bytesQueuedForLine(), 11u);
  timeline.advanceBy(41);  // 50 ms: six bytes out
  EXPECT_EQ(port.bytesQueuedForLine(), 6u);
  ASSERT_TRUE(port.write("xy", error));  // queued behind the rest
  EXPECT_EQ(port.writes().back().lineBacklogBytes, 6u);
  EXPECT_NEAR(port.lineIdleAtMs(), 100.0 + 2 * 8.3333, 1e-3);
  timeline.advanceBy(67);
  EXPECT_EQ(port.bytesQueuedForLine(), 0u);
  EXPECT_EQ(port.maxLineBacklogAtWrite(), 6u);
  EXPECT_EQ(port.written(), "ABCDEFGHIJKLxy");
  EXPECT_EQ(port.writes()[1].atMs, 50);
}

TEST(FakeSerialPort, ReportsCanHideTheLineOrAddAFarEnd) {
  FakeTimeline timeline;
  FakeSerialPort port(&timeline);
  std::string error;
  port.open("x", error);
  port.write("ABCD", error);
  port.setReportsLineQueue(false);
  EXPECT_EQ(port.bytesQueuedForLine(), 0u);
  EXPECT_EQ(port.lineBacklogBytes(), 4u);
  port.setExtraQueued(7);
  EXPECT_EQ(port.bytesQueuedForLine(), 7u);
  port.setReportsLineQueue(true);
  EXPECT_EQ(port.bytesQueuedForLine(), 11u);
}

TEST(FakeSerialPort, ScriptedFailuresAndRecords) {
  FakeSerialPort port;
  std::string error;
  port.failOpenWith("Unable to open com port (Permission denied)");
  EXPECT_FALSE(port.open("/dev/ttyS0", error));
  EXPECT_EQ(error, "Unable to open com port (Permission denied)");
  EXPECT_FALSE(port.isOpen());
  port.allowOpen();
  EXPECT_TRUE(port.open("/dev/ttyS1", error));
  EXPECT_EQ(port.openAttempts(), 2);
  EXPECT_EQ(port.openCount(), 1);
  EXPECT_THAT(port.openedDevices(), ElementsAre("/dev/ttyS1"));

  port.failWritesWith("WriteFile function failed (Input/output error)");
  EXPECT_FALSE(port.write("X\r", error));
  EXPECT_EQ(error, "WriteFile function failed (Input/output error)");
  EXPECT_EQ(port.failedWrites(), 1);
  EXPECT_TRUE(port.writes().empty());
  port.allowWrites();

  std::vector<std::string> seen;
  port.onWrite = [&](const std::string& b) { seen.push_back(b); };
  EXPECT_TRUE(port.write("X\r", error));
  EXPECT_THAT(seen, ElementsAre("X\r"));

  int arrivals = 0;
  port.onBytesReceived = [&] { ++arrivals; };
  port.receive("X");
  port.receive("\x01\x02");
  EXPECT_EQ(arrivals, 2);
  EXPECT_EQ(port.readAvailable(), "X\x01\x02");
  EXPECT_EQ(port.readAvailable(), "");

  std::string failure;
  port.onError = [&](const std::string& e) { failure = e; };
  port.failLater("ReadFile function failed (Input/output error)");
  EXPECT_EQ(failure, "ReadFile function failed (Input/output error)");

  port.drain(1500);
  port.close();
  port.close();
  EXPECT_EQ(port.closeCount(), 1);
  EXPECT_THAT(port.drainTimeouts(), ElementsAre(1500));
  EXPECT_FALSE(port.write("X\r", error));
}

TEST(ScriptedMessageBoxes, RecordsAndAnswersFromTheScript) {
  ScriptedMessageBoxes boxes;
  boxes.answerNext({true, false});
  boxes.showMessage("one");
  EXPECT_TRUE(boxes.askYesNo("save?"));
  EXPECT_FALSE(boxes.askYesNo("again?"));
  boxes.setDefaultAnswer(true);
  EXPECT_TRUE(boxes.askYesNo("third?"));
  EXPECT_THAT(boxes.messages(), ElementsAre("one"));
  EXPECT_THAT(boxes.questions(), ElementsAre("save?", "again?", "third?"));
  EXPECT_EQ(boxes.lastMessage(), "one");
  ASSERT_EQ(boxes.shown().size(), 4u);
  EXPECT_EQ(boxes.shown()[2].answer, false);
  EXPECT_EQ(boxes.unusedAnswers(), 0u);
}

TEST(ScriptedMessageBoxes, UnscriptedQuestionFailsTheTest) {
  ScriptedMessageBoxes boxes;
  bool answer = true;
  EXPECT_NONFATAL_FAILURE(answer = boxes.askYesNo("surprise?"), "Unexpected question");
  EXPECT_FALSE(answer);
}

}  // namespace
}  // namespace ondaris
