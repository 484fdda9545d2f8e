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

TEST(CompanionFrame, LengthTextAndZerosCutToEighty) {
  EXPECT_EQ(EncodeCompanionFrame("OK"), Frame(2, "OK"));
  EXPECT_EQ(EncodeCompanionFrame(""), std::string(88, '\0'));
  EXPECT_EQ(EncodeCompanionFrame(std::string(80, 'b') + "Z"), Frame(80, std::string(80, 'b')));
  const std::string words[] = {"", "?", std::string(80, 'y'), std::string("a\0b", 3) + "\xE9\xFF",
                               "*9575*Station*Place*English*0000*2400*"};
  for (const std::string& text : words)
    EXPECT_EQ(DecodeCompanionFrame(EncodeCompanionFrame(text)), text);
}

TEST(CompanionFrame, DecodeReadsOnlyTheLengthBytesCount) {
  EXPECT_EQ(DecodeCompanionFrame(Frame(3, "Rcl", 'Q')), "Rcl");  // bytes after the text need not be zero
  EXPECT_EQ(DecodeCompanionFrame(Frame(2, "Rcl")), "Rc");
  EXPECT_FALSE(DecodeCompanionFrame(Frame(81, std::string(81, 'a'))).has_value());
  EXPECT_FALSE(DecodeCompanionFrame("").has_value());
  // A block shorter than its length byte says gives what is there.
  EXPECT_EQ(DecodeCompanionFrame(std::string("\x05" "ab", 3)), "ab");
}

TEST(CompanionFrameSplitter, FramesSplitAtEveryPositionArriveWhole) {
  const std::string stream = EncodeCompanionFrame("G1") + EncodeCompanionFrame("+9575");
  for (std::size_t cut = 0; cut <= stream.size(); ++cut) {
    CompanionFrameSplitter splitter;
    std::vector<std::string> words = splitter.feed(stream.substr(0, cut));
    EXPECT_EQ(splitter.pendingBytes(), cut % 88);
    const std::vector<std::string> rest = splitter.feed(stream.substr(cut));
    words.insert(words.end(), rest.begin(), rest.end());
    EXPECT_EQ(words, (std::vector<std::string>{"G1", "+9575"})) << "cut at " << cut;
    EXPECT_EQ(splitter.pendingBytes(), 0u);
  }
}

TEST(CompanionFrameSplitter, SeveralFramesAtOnceWithAnIgnoredOneBetween) {
  const std::string stream = EncodeCompanionFrame("S+") + Frame(81, "junk") + EncodeCompanionFrame("L-") +
                             EncodeCompanionFrame("Mt").substr(0, 40);
  CompanionFrameSplitter splitter;
  EXPECT_EQ(splitter.feed(stream), (std::vector<std::string>{"S+", "L-"}));
  EXPECT_EQ(splitter.pendingBytes(), 40u);
  EXPECT_EQ(splitter.feed(EncodeCompanionFrame("Mt").substr(40)), std::vector<std::string>{"Mt"});
}

}  // namespace
}  // namespace ondaris
