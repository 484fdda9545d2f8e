// The signal-strength report picked out of the receiver's byte stream, however the line cuts it up.

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include "radio/FrameAssembler.h"

namespace ondaris {
namespace {

using namespace std::string_literals;

struct Step {
  std::string chunk;
  std::optional<int> strength;  // what this event hands to the meter
  int countAfter;               // bytes collected after the event; the frame is open while above 0
};

const std::optional<int> none;

TEST(FrameAssembler, HandsOverTheExpectedReadings) {
  const struct {
    const char* name;
    int meterMin, meterMax;
    std::vector<Step> steps;
  } cases[] = {
      {"WholeReportAtOnce", 0, 10000, {{"X\x12\x34\r"s, 4660, 0}}},
      {"ReportInThreeEvents", 0, 10000, {{"X"s, none, 1}, {"\x12"s, none, 2}, {"\x34\r"s, 4660, 0}}},
      {"AfterAStrayByte", 0, 10000, {{"\rX\x00\x10\r"s, 16, 0}}},
      {"ShortReportAbandonsTheOpenFrame", 0, 10000, {{"X\x01"s, none, 2}, {"X\x00\x05"s, 5, 0}}},
      {"ChunkWithoutXIsDropped", 0, 10000, {{"abc\r"s, none, 0}, {"\x12\x34"s, none, 0}}},
      {"AboveTheMaximumIsClamped", 0, 10000, {{"X\xFF"s, none, 2}, {"\xFF\r"s, 10000, 0}}},
      {"BelowTheMinimumIsClamped", 100, 10000, {{"X"s, none, 1}, {"\x00\x05\r"s, 100, 0}}},
      {"ShortReportIsNotClamped", 0, 10000, {{"X\xFF\xFF\r"s, 65535, 0}}},
      {"FourByteShortReportNeedNotEndInCr", 0, 10000, {{"X\x00\x01Z"s, 1, 0}}},
      {"BytesAfterTheFourthAreNotKept", 0, 10000, {{"X\x01\x02\r\xAA\xBB"s, 258, 0}, {"\x03\x04"s, none, 0}}},
      {"ASecondReportInTheSameChunkIsLost", 0, 10000, {{"X\x01\x02\rX\x05"s, 258, 0}, {"\x06\r"s, none, 0}}},
      {"XInsideAnOpenFrameIsData", 0, 100000, {{"X"s, none, 1}, {"X\x00"s, none, 3}, {"\r"s, 'X' * 256, 0}}},
      {"XAtTheEndOfAChunkOpensAFrame", 0, 10000, {{"abcX"s, none, 1}, {"\x00\x20\r"s, 32, 0}}},
      {"EmptyChunkChangesNothing", 0, 10000, {{"X\x01"s, none, 2}, {""s, none, 2}, {"\x02\r"s, 258, 0}}},
  };
  for (const auto& c : cases) {
    FrameAssembler assembler;
    for (std::size_t i = 0; i < c.steps.size(); ++i) {
      SCOPED_TRACE(std::string(c.name) + " event " + std::to_string(i + 1));
      const std::optional<int> strength = assembler.onChunk(c.steps[i].chunk, c.meterMin, c.meterMax);
      EXPECT_EQ(std::tuple(strength, assembler.frameOpen(), static_cast<int>(assembler.frame().size())),
                std::tuple(c.steps[i].strength, c.steps[i].countAfter > 0, c.steps[i].countAfter));
    }
  }
}

TEST(FrameAssembler, ResetClosesTheFrame) {
  FrameAssembler assembler;
  assembler.onChunk("\rX\x12"s, 0, 10000);
  EXPECT_EQ(assembler.frame(), "X\x12"s);
  assembler.reset();
  EXPECT_EQ(std::tuple(assembler.frameOpen(), assembler.frameCount()), std::tuple(false, 0));
  EXPECT_FALSE(assembler.onChunk("\x34\r"s, 0, 10000).has_value());  // no X: dropped
}

TEST(FrameAssembler, EveryWayOfCuttingAReportGivesTheSameReading) {
  // The report after some noise, cut into every sequence of chunks that has
  // no chunk of 3 or 4 bytes starting with X (those are taken whole).
  const std::string stream = "\r\x01X\x27\x10\r"s;
  const int cuts = static_cast<int>(stream.size()) - 1;
  int checked = 0;
  for (int mask = 0; mask < (1 << cuts); ++mask) {
    std::vector<std::string> chunks{""};
    for (std::size_t i = 0; i < stream.size(); ++i) {
      chunks.back() += stream[i];
      if (i + 1 < stream.size() && (mask & (1 << i))) chunks.emplace_back();
    }
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
