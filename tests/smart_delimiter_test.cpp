// The "Smart Delimiter" rebuild of the TEXT after an exact match, row by row of its case table, with
// elements A, B, C, ... and delimiter characters taken from ",;:|-".
#include <gtest/gtest.h>

#include <vector>

#include "text/smart_delimiter.h"

namespace nimbo::text {
namespace {

std::vector<Text> elements(uint32_t count) {
  std::vector<Text> texts;
  for (uint32_t k = 0; k < count; ++k) texts.push_back(Text(1, static_cast<Char>(NIMBO_TEXT('A') + k)));
  return texts;
}

Text delimiter(size_t length) {
  return Text(NIMBO_TEXT(",;:|-")).substr(0, length);
}

Text rebuilt(uint32_t count, size_t delimiterLength) {
  return smartDelimiterRebuild(elements(count), count, delimiter(delimiterLength)).built;
}

TEST(SmartDelimiter, OneElementIsFollowedByTheWholeDelimiterText) {
  EXPECT_EQ(rebuilt(1, 0), NIMBO_TEXT(""));
  EXPECT_EQ(rebuilt(1, 1), NIMBO_TEXT("A,"));
  EXPECT_EQ(rebuilt(1, 4), NIMBO_TEXT("A,;:|"));
}

TEST(SmartDelimiter, TwoElementsUseAtMostTwoDelimiterCharacters) {
  EXPECT_EQ(rebuilt(2, 0), NIMBO_TEXT(""));
  EXPECT_EQ(rebuilt(2, 1), NIMBO_TEXT("A,B"));
  EXPECT_EQ(rebuilt(2, 2), NIMBO_TEXT("A,B;"));
  EXPECT_EQ(rebuilt(2, 5), NIMBO_TEXT("A,B;"));
}

TEST(SmartDelimiter, OnlyTwoElementsWithAOneCharacterDelimiterAskForTheTypeA21Box) {
  EXPECT_TRUE(smartDelimiterRebuild(elements(2), 2, delimiter(1)).showTypeA21Box);
  for (uint32_t count : {0u, 1u, 3u, 4u}) {
    for (size_t length : {0u, 1u, 2u, 3u}) {
      EXPECT_FALSE(smartDelimiterRebuild(elements(count), count, delimiter(length)).showTypeA21Box)
          << count << " elements, delimiter of " << length;
    }
  }
  for (size_t length : {0u, 2u, 3u})
    EXPECT_FALSE(smartDelimiterRebuild(elements(2), 2, delimiter(length)).showTypeA21Box);
  EXPECT_FALSE(smartDelimiterRebuild({}, kNoCaptureGroups, delimiter(1)).showTypeA21Box);
}

TEST(SmartDelimiter, AsManyElementsAsDelimiterCharactersAlternate) {
  EXPECT_EQ(rebuilt(0, 0), NIMBO_TEXT(""));
  EXPECT_EQ(rebuilt(3, 3), NIMBO_TEXT("A,B;C:"));
  EXPECT_EQ(rebuilt(5, 5), NIMBO_TEXT("A,B;C:D|E-"));
}

TEST(SmartDelimiter, FewerElementsThanDelimiterCharactersLetTheRemainingCharactersFollow) {
  EXPECT_EQ(rebuilt(0, 3), NIMBO_TEXT(""));
  EXPECT_EQ(rebuilt(3, 5), NIMBO_TEXT("A,B;C:|-"));
  EXPECT_EQ(rebuilt(3, 4), NIMBO_TEXT("A,B;C:|"));
}

TEST(SmartDelimiter, MoreElementsThanDelimiterCharacters) {
  EXPECT_EQ(rebuilt(3, 0), NIMBO_TEXT(""));
  EXPECT_EQ(rebuilt(4, 1), NIMBO_TEXT("A,B,C,D,"));
  EXPECT_EQ(rebuilt(3, 1), NIMBO_TEXT("A,B,C,"));
  EXPECT_EQ(rebuilt(4, 2), NIMBO_TEXT("A,B,C,D;"));
  EXPECT_EQ(rebuilt(3, 2), NIMBO_TEXT("A,B,C;"));
  EXPECT_EQ(rebuilt(5, 3), NIMBO_TEXT("A,B;C:"));
  EXPECT_EQ(rebuilt(5, 4), NIMBO_TEXT("A,B;C:D|"));
}

TEST(SmartDelimiter, UnmatchedElementsWriteNothingBetweenTheirDelimiters) {
  std::vector<Text> sparse = {NIMBO_TEXT("10"), Text(), NIMBO_TEXT("30")};
  EXPECT_EQ(smartDelimiterRebuild(sparse, 3, delimiter(2)).built, NIMBO_TEXT("10,,30;"));
}

TEST(SmartDelimiter, APatternWithoutCaptureGroupsLeavesTheTextAsItWas) {
  for (size_t length : {0u, 1u, 2u, 3u, 5u}) {
    SmartDelimiterResult result = smartDelimiterRebuild({}, kNoCaptureGroups, delimiter(length));
    EXPECT_EQ(result.built, delimiter(length)) << "delimiter of " << length;
  }
}

}  // namespace
}  // namespace nimbo::text
