#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/CompanionFrame.h"

namespace ondaris {
namespace {

std::string Frame(unsigned char length, const std::string& text, char padding = '\0') {
  std::string frame(CompanionFrameSize, padding);
  frame[0] = static_cast<char>(length);
  frame.replace(1, text.size(), text);
  return frame;
}

TEST(CompanionFrame, OkAnswerIsLengthTextAndZeros) {
  const std::string frame = EncodeCompanionFrame("OK");
  ASSERT_EQ(frame.size(), 88u);
  EXPECT_EQ(static_cast<unsigned char>(frame[0]), 2);
  EXPECT_EQ(frame[1], 'O');
  EXPECT_EQ(frame[2], 'K');
  for (std::size_t i = 3; i < frame.size(); ++i) EXPECT_EQ(frame[i], '\0') << "byte " << i;
}

TEST(CompanionFrame, EmptyTextIsAllZeros) {
  EXPECT_EQ(EncodeCompanionFrame(""), std::string(88, '\0'));
}

TEST(CompanionFrame, StatusReportOf48CharactersFitsWhole) {
  const std::string report = "*15000.000*AM*6000*500*0*17*17*False*False*Lo*M*";
  ASSERT_EQ(report.size(), 48u);
  EXPECT_EQ(EncodeCompanionFrame(report), Frame(48, report));
}

TEST(CompanionFrame, EightyCharactersAreCarriedWhole) {
  const std::string text(80, 'a');
  const std::string frame = EncodeCompanionFrame(text);
  ASSERT_EQ(frame.size(), 88u);
  EXPECT_EQ(static_cast<unsigned char>(frame[0]), 80);
  EXPECT_EQ(frame.substr(1, 80), text);
  EXPECT_EQ(frame.substr(81), std::string(7, '\0'));
}

TEST(CompanionFrame, EightyOneCharactersAreCutToEighty) {
  std::string text(80, 'b');
  text += 'Z';
  const std::string frame = EncodeCompanionFrame(text);
  ASSERT_EQ(frame.size(), 88u);
  EXPECT_EQ(static_cast<unsigned char>(frame[0]), 80);
  EXPECT_EQ(frame.substr(1, 80), std::string(80, 'b'));
  EXPECT_EQ(frame.find('Z'), std::string::npos);
}

TEST(CompanionFrame, ZeroBytesAndHighCharactersInTextAreData) {
  const std::string text = std::string("a\0b", 3) + "\xE9\xFF";
  const std::string frame = EncodeCompanionFrame(text);
  EXPECT_EQ(static_cast<unsigned char>(frame[0]), 5);
  EXPECT_EQ(DecodeCompanionFrame(frame), text);
}

class CompanionFrameRoundTrip : public ::testing::TestWithParam<std::string> {};

TEST_P(CompanionFrameRoundTrip, DecodeGivesBackTheText) {
  const std::string& text = GetParam();
  EXPECT_EQ(DecodeCompanionFrame(EncodeCompanionFrame(text)), text);
}

INSTANTIATE_TEST_SUITE_P(Texts, CompanionFrameRoundTrip,
                         ::testing::Values(std::string(), "?", "Bye", "NO", "+9575",
                                           "*9575*Station*Place*English*0000*2400*", "42xxxxxxxxxxxxxxx",
                                           std::string(79, 'x'), std::string(80, 'y')));

TEST(CompanionFrame, DecodeReadsOnlyTheLengthBytesCount) {
  // Bytes after the text are not significant: they need not be zero.
  EXPECT_EQ(DecodeCompanionFrame(Frame(3, "Rcl", 'Q')), "Rcl");
  EXPECT_EQ(DecodeCompanionFrame(Frame(2, "Rcl")), "Rc");
  EXPECT_EQ(DecodeCompanionFrame(Frame(0, "Rcl")), "");
}

TEST(CompanionFrame, LengthAboveEightyIsIgnored) {
  EXPECT_FALSE(DecodeCompanionFrame(Frame(81, std::string(81, 'a'))).has_value());
  EXPECT_FALSE(DecodeCompanionFrame(Frame(87, "G1")).has_value());
  EXPECT_FALSE(DecodeCompanionFrame(Frame(255, "G1")).has_value());
  EXPECT_TRUE(DecodeCompanionFrame(Frame(80, std::string(80, 'a'))).has_value());
}

TEST(CompanionFrame, EmptyOrShortBlocks) {
  EXPECT_FALSE(DecodeCompanionFrame("").has_value());
  // A block shorter than its length byte says gives what is there.
  EXPECT_EQ(DecodeCompanionFrame(std::string("\x05" "ab", 3)), "ab");
}

TEST(CompanionFrameSplitter, FramesSplitAtEveryPositionArriveWhole) {
  const std::string stream = EncodeCompanionFrame("G1") + EncodeCompanionFrame("+9575");
  for (std::size_t cut = 0; cut <= stream.size(); ++cut) {
    CompanionFrameSplitter splitter;
    std::vector<std::string> words = splitter.feed(stream.substr(0, cut));
    const std::vector<std::string> rest = splitter.feed(stream.substr(cut));
    words.insert(words.end(), rest.begin(), rest.end());
    EXPECT_EQ(words, (std::vector<std::string>{"G1", "+9575"})) << "cut at " << cut;
    EXPECT_EQ(splitter.pendingBytes(), 0u);
  }
}

TEST(CompanionFrameSplitter, ByteByByte) {
  const std::string stream = EncodeCompanionFrame("?") + EncodeCompanionFrame("Bye");
  CompanionFrameSplitter splitter;
  std::vector<std::string> words;
  for (std::size_t i = 0; i < stream.size(); ++i) {
    for (auto& word : splitter.feed(stream.substr(i, 1))) words.push_back(word);
    if (i == 86) {
      EXPECT_TRUE(words.empty());
      EXPECT_EQ(splitter.pendingBytes(), 87u);
    }
    if (i == 87) {
      EXPECT_EQ(words, std::vector<std::string>{"?"});
    }
  }
  EXPECT_EQ(words, (std::vector<std::string>{"?", "Bye"}));
}

TEST(CompanionFrameSplitter, SeveralFramesAtOnceWithAnIgnoredOneBetween) {
  const std::string stream =
      EncodeCompanionFrame("S+") + Frame(81, "junk") + EncodeCompanionFrame("L-") + EncodeCompanionFrame("Mt").substr(0, 40);
  CompanionFrameSplitter splitter;
  EXPECT_EQ(splitter.feed(stream), (std::vector<std::string>{"S+", "L-"}));
  EXPECT_EQ(splitter.pendingBytes(), 40u);
  EXPECT_EQ(splitter.feed(EncodeCompanionFrame("Mt").substr(40)), std::vector<std::string>{"Mt"});
}

}  // namespace
}  // namespace ondaris
