// The signal-strength report picked out of the receiver's byte stream,
// however the line cuts it into receive events.

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "radio/FrameAssembler.h"

namespace ondaris {
namespace {

using namespace std::string_literals;

struct Step {
  std::string chunk;
  std::optional<int> strength;  // what this event hands to the meter
  bool openAfter;               // frame still open after the event
  int countAfter;               // bytes collected after the event
};

struct FrameCase {
  const char* name;
  int meterMin;
  int meterMax;
  std::vector<Step> steps;
};

std::ostream& operator<<(std::ostream& os, const FrameCase& c) { return os << c.name; }

class FrameAssemblerCases : public ::testing::TestWithParam<FrameCase> {};

TEST_P(FrameAssemblerCases, HandsOverTheExpectedReadings) {
  const FrameCase& c = GetParam();
  FrameAssembler assembler;
  for (std::size_t i = 0; i < c.steps.size(); ++i) {
    const Step& step = c.steps[i];
    SCOPED_TRACE("event " + std::to_string(i + 1));
    EXPECT_EQ(assembler.onChunk(step.chunk, c.meterMin, c.meterMax), step.strength);
    EXPECT_EQ(assembler.frameOpen(), step.openAfter);
    EXPECT_EQ(assembler.frameCount(), step.countAfter);
    EXPECT_EQ(assembler.frame().size(), static_cast<std::size_t>(step.countAfter));
  }
}

const std::optional<int> none;

INSTANTIATE_TEST_SUITE_P(
    ReceiveEvents, FrameAssemblerCases,
    ::testing::Values(
        FrameCase{"WholeReportAtOnce", 0, 10000, {{"X\x12\x34\r"s, 4660, false, 0}}},
        FrameCase{"ReportInThreeEvents",
                  0,
                  10000,
                  {{"X"s, none, true, 1}, {"\x12"s, none, true, 2}, {"\x34\r"s, 4660, false, 0}}},
        FrameCase{"ReportAfterAStrayByteCompletesInTheSameEvent",
                  0,
                  10000,
                  {{"\rX\x00\x10\r"s, 16, false, 0}}},
        FrameCase{"ShortReportAbandonsTheOpenFrame",
                  0,
                  10000,
                  {{"X\x01"s, none, true, 2}, {"X\x00\x05"s, 5, false, 0}}},
        FrameCase{"ShortReportWithCrAbandonsTheOpenFrame",
                  0,
                  10000,
                  {{"\x01X"s, none, true, 1}, {"X\x00\x07\r"s, 7, false, 0}}},
        FrameCase{"ChunkWithoutXIsDropped", 0, 10000, {{"abc\r"s, none, false, 0}, {"\x12\x34"s, none, false, 0}}},
        FrameCase{"AssembledReportAboveTheMaximumIsClamped",
                  0,
                  10000,
                  {{"X\xFF"s, none, true, 2}, {"\xFF\r"s, 10000, false, 0}}},
        FrameCase{"AssembledReportBelowTheMinimumIsClamped",
                  100,
                  10000,
                  {{"X"s, none, true, 1}, {"\x00\x05\r"s, 100, false, 0}}},
        FrameCase{"ShortReportIsNotClamped", 0, 10000, {{"X\xFF\xFF\r"s, 65535, false, 0}}},
        FrameCase{"ThreeByteReportWithoutCr", 0, 10000, {{"X\x12\x34"s, 4660, false, 0}}},
        FrameCase{"FourByteShortReportNeedNotEndInCr", 0, 10000, {{"X\x00\x01Z"s, 1, false, 0}}},
        FrameCase{"FiveByteChunkGoesThroughTheAssemblerAndIsClamped",
                  0,
                  1000,
                  {{"X\x12\x34\r\r"s, 1000, false, 0}}},
        FrameCase{"TwoByteStartThenOneByteEach",
                  0,
                  10000,
                  {{"X\x12"s, none, true, 2}, {"\x34"s, none, true, 3}, {"\r"s, 4660, false, 0}}},
        FrameCase{"ThreeBytesWithoutLeadingXCompleteAnOpenFrame",
                  0,
                  10000,
                  {{"X"s, none, true, 1}, {"\x12\x34\r"s, 4660, false, 0}}},
        FrameCase{"BytesAfterTheFourthAreNotKept",
                  0,
                  10000,
                  {{"X\x01\x02\r\xAA\xBB"s, 258, false, 0}, {"\x03\x04"s, none, false, 0}}},
        FrameCase{"ASecondReportInTheSameChunkIsLost",
                  0,
                  10000,
                  {{"X\x01\x02\rX\x05"s, 258, false, 0}, {"\x06\r"s, none, false, 0}}},
        FrameCase{"XInsideAnOpenFrameIsData",
                  0,
                  100000,
                  {{"X"s, none, true, 1}, {"X\x00"s, none, true, 3}, {"\r"s, 'X' * 256, false, 0}}},
        FrameCase{"SingleXWhileOpenIsAppended",
                  0,
                  10000,
                  {{"X\x01"s, none, true, 2}, {"X"s, none, true, 3}, {"\r"s, 0x01 * 256 + 'X', false, 0}}},
        FrameCase{"XAtTheEndOfAChunkOpensAFrame",
                  0,
                  10000,
                  {{"abcX"s, none, true, 1}, {"\x00\x20\r"s, 32, false, 0}}},
        FrameCase{"EmptyChunkChangesNothing",
                  0,
                  10000,
                  {{""s, none, false, 0}, {"X\x01"s, none, true, 2}, {""s, none, true, 2}, {"\x02\r"s, 258, false, 0}}},
        FrameCase{"LongChunkWithoutXWhileOpenCompletesTheFrame",
                  0,
                  10000,
                  {{"\r\rX"s, none, true, 1}, {"\x00\x09\r\r\r\r"s, 9, false, 0}}},
        FrameCase{"ZeroStrength", 0, 10000, {{"\rX\x00\x00\r"s, 0, false, 0}}},
        FrameCase{"ReadingsFollowOneAnother",
                  0,
                  10000,
                  {{"X\x00\x01\r"s, 1, false, 0},
                   {"X\x00"s, none, true, 2},
                   {"\x02\r"s, 2, false, 0},
                   {"X\x00\x03"s, 3, false, 0}}}),
    [](const ::testing::TestParamInfo<FrameCase>& info) { return std::string(info.param.name); });

TEST(FrameAssembler, KeepsTheCollectedBytes) {
  FrameAssembler assembler;
  EXPECT_FALSE(assembler.onChunk("\r\rX\x12"s, 0, 10000).has_value());
  EXPECT_EQ(assembler.frame(), "X\x12"s);
  EXPECT_FALSE(assembler.onChunk("\x34"s, 0, 10000).has_value());
  EXPECT_EQ(assembler.frame(), "X\x12\x34"s);
}

TEST(FrameAssembler, ResetClosesTheFrame) {
  FrameAssembler assembler;
  assembler.onChunk("X\x12"s, 0, 10000);
  ASSERT_TRUE(assembler.frameOpen());
  assembler.reset();
  EXPECT_FALSE(assembler.frameOpen());
  EXPECT_EQ(assembler.frameCount(), 0);
  // The rest of the old report has no X and is dropped.
  EXPECT_FALSE(assembler.onChunk("\x34\r"s, 0, 10000).has_value());
  EXPECT_FALSE(assembler.frameOpen());
}

TEST(FrameAssembler, EveryWayOfCuttingAReportGivesTheSameReading) {
  // The report after some noise, cut into every sequence of chunks that has
  // no chunk of 3 or 4 bytes starting with X (those are taken whole).
  const std::string stream = "\r\x01X\x27\x10\r"s;
  const int cuts = static_cast<int>(stream.size()) - 1;
  int checked = 0;
  for (int mask = 0; mask < (1 << cuts); ++mask) {
    std::vector<std::string> chunks;
    std::string current;
    for (std::size_t i = 0; i < stream.size(); ++i) {
      current += stream[i];
      if (i + 1 < stream.size() && (mask & (1 << i))) {
        chunks.push_back(current);
        current.clear();
      }
    }
    chunks.push_back(current);
    bool shortFrame = false;
    for (const auto& c : chunks) shortFrame = shortFrame || ((c.size() == 3 || c.size() == 4) && c[0] == 'X');
    if (shortFrame) continue;

    FrameAssembler assembler;
    std::vector<int> readings;
    for (const auto& c : chunks)
      if (auto r = assembler.onChunk(c, 0, 20000)) readings.push_back(*r);
    EXPECT_EQ(readings, std::vector<int>{10000}) << "cut mask " << mask;
    EXPECT_FALSE(assembler.frameOpen());
    ++checked;
  }
  EXPECT_GT(checked, 10);
}

}  // namespace
}  // namespace ondaris
