// The TEXT and the regexes as a designer meets them: Set TEXT, the search and exact-match conditions
// with the TEXT rebuild, the flags the frame step raises, and the replace, count and sub-match
// expressions, called through the jump tables and the event list of the host runtime.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <memory>
#include <regex>
#include <string>
#include <utility>
#include <vector>

#if defined(_WIN32) && !defined(_WIN64)
#include <windows.h>
#endif

#include "frame/editdata.h"
#include "record/rundata.h"
#include "tests/logged_values.h"
#include "vohost/simhost/runtime.h"

namespace vohost {
namespace {

using nimbo::Text;

constexpr int kRegexError = 0, kSearchPartial = 4, kExactMatch = 5, kMismatch = 6;
constexpr int kGetText = 0, kReplace = 1, kTotalNumberMatch = 7, kSubMatch = 8;
constexpr const char* kNoSubmatch = "WARNING M_GRME_1336 #case(0|1|2) >> No Submatch <<";

// A record as a game file may hold it, with an options word no check box writes.
std::vector<uint8_t> storedRecord(uint8_t popup, uint32_t options, const Text& text) {
  std::vector<uint8_t> bytes(nimbo::kEditDataSize + 2 * text.size());
  nimbo::EDITDATA edit{};
  edit.eHeader.size = static_cast<uint32_t>(bytes.size());
  edit.popup = popup;
  edit.options = options;
  std::memcpy(bytes.data(), &edit, offsetof(nimbo::EDITDATA, text));
  std::memcpy(bytes.data() + offsetof(nimbo::EDITDATA, text), text.c_str(),
              (text.size() + 1) * sizeof(voChar));
  return bytes;
}

EditOverrides settings(uint8_t popup, uint32_t options, Text text) {
  if (options == 0 || options == 2) return {popup, options, std::move(text)};
  return {{}, {}, {}, false, storedRecord(popup, options, text)};
}

Parameter expression(int code, std::vector<Parameter> params = {}) {
  return std::make_shared<const ExpressionCall>(ExpressionCall{0, code, std::move(params)});
}

HostAction logOf(const std::string& name, Parameter value) {
  return HostAction{HostActionKind::log, name, {std::move(value)}};
}

// A line of the event list without conditions: its actions run on every pass.
EventLine always(std::vector<Action> actions) {
  return {{}, std::move(actions)};
}

// A line headed by a condition the extension raises.
EventLine whenRaised(int code, const std::string& logged) {
  return {{ExtensionCondition{0, code, {}}}, {logOf(logged, 1)}};
}

std::string narrowDescriptionOf(const wchar_t* pattern) {
  try {
    std::wregex regex(pattern);
  } catch (const std::regex_error& error) {
    return error.what();
  }
  return "";
}

class TextRegex : public ::testing::Test {
 protected:
  Extension extension{NIMBO_EXTENSION_PATH};
  std::unique_ptr<Runtime> runtime;
  nimbo::RUNDATA* rd = nullptr;

  void start(const EditOverrides& edit, std::vector<EventLine> events = {}) {
    Scene scene;
    scene.nimbo = {edit};
    scene.events = std::move(events);
    runtime = std::make_unique<Runtime>(extension, std::move(scene));
    rd = nimbo::runData(runtime->nimboRecord(0));
  }

  // The host passes a condition's two evaluated text parameters as the routine's arguments.
  int32_t condition(int code, const Text& source = {}, const Text& pattern = {}) {
    auto routine = static_cast<const voConditionRoutine*>(runtime->runInfo().conditions)[code];
    return routine(runtime->nimboRecord(0), reinterpret_cast<voValue>(source.c_str()),
                   reinterpret_cast<voValue>(pattern.c_str()));
  }

  void setText(const nimbo::Char* text) {
    auto routine = static_cast<const voActionRoutine*>(runtime->runInfo().actions)[0];
    routine(runtime->nimboRecord(0), reinterpret_cast<voValue>(text), 0);
  }

  Text text() const { return rd->sText ? Text(rd->sText) : Text(); }
};

bool wasLogged(const StepRecord& record, const std::string& name) {
  for (const LogEntry& entry : record.log) {
    if (entry.name == name) return true;
  }
  return false;
}

// Set TEXT and Get TEXT.

TEST_F(TextRegex, SetTextKeepsTheBufferForAShorterOrEmptyTextAndGrowsItForALongerOne) {
  start(settings(0, 0, NIMBO_TEXT("abcdef")));
  nimbo::Char* buffer = rd->sText;
  setText(NIMBO_TEXT("xyz"));
  EXPECT_EQ(rd->sText, buffer);
  EXPECT_EQ(text(), NIMBO_TEXT("xyz"));
  setText(NIMBO_TEXT(""));
  EXPECT_EQ(rd->sText, buffer);
  EXPECT_EQ(text(), NIMBO_TEXT(""));
  setText(NIMBO_TEXT("a much longer text than the first"));
  EXPECT_EQ(text(), NIMBO_TEXT("a much longer text than the first"));
  setText(NIMBO_TEXT("a"));
  setText(NIMBO_TEXT("abc"));
  EXPECT_EQ(text(), NIMBO_TEXT("abc"));
  EXPECT_TRUE(takeMessageBoxes().empty());
}

TEST_F(TextRegex, GetTextReturnsTheTextAndAnAbsentTextAsEmpty) {
  start(settings(1, 0, NIMBO_TEXT("日本 text")), {always({logOf("TEXT", expression(kGetText))})});
  EXPECT_EQ(loggedText(runtime->step(), "TEXT"), "日本 text");

  nimbo::Char* kept = std::exchange(rd->sText, nullptr);
  EXPECT_EQ(loggedText(runtime->step(), "TEXT"), "");
  rd->sText = kept;
}

TEST_F(TextRegex, SetTextWithTheTextItselfKeepsIt) {
  start(settings(0, 0, NIMBO_TEXT("same")));
  setText(rd->sText);
  EXPECT_EQ(text(), NIMBO_TEXT("same"));
}

TEST_F(TextRegex, SetTextFromTheEventListReplacesTheText) {
  start(
      settings(0, 0, NIMBO_TEXT("old")),
      {always({ExtensionAction{0, 0, {Text(NIMBO_TEXT("new text"))}}, logOf("TEXT", expression(kGetText))})});
  EXPECT_EQ(loggedText(runtime->step(), "TEXT"), "new text");
}

// Condition 4, the partial search.

TEST_F(TextRegex, APartialSearchSetsTheMismatchFlagOnlyWhenThePatternDoesNotOccur) {
  start(settings(0, 0, NIMBO_TEXT("")));
  EXPECT_EQ(condition(kSearchPartial, NIMBO_TEXT("abc123def"), NIMBO_TEXT("\\d+")), 1);
  EXPECT_EQ(rd->mismatchFlag, 0);
  EXPECT_EQ(condition(kSearchPartial, NIMBO_TEXT("abcdef"), NIMBO_TEXT("\\d+")), 0);
  EXPECT_EQ(rd->mismatchFlag, 1);
  EXPECT_EQ(condition(kSearchPartial, NIMBO_TEXT("x"), NIMBO_TEXT("x")), 1);
  EXPECT_EQ(rd->mismatchFlag, 0);
}

TEST_F(TextRegex, APartialSearchLeavesTheSubMatchesOfTheLastExactMatchAlone) {
  start(settings(0, 0, NIMBO_TEXT("")), {always({logOf("element 0", expression(kSubMatch, {0}))})});
  ASSERT_EQ(condition(kExactMatch, NIMBO_TEXT("ab-cd"), NIMBO_TEXT("((\\w+)-(\\w+))")), 1);
  EXPECT_EQ(condition(kSearchPartial, NIMBO_TEXT("zz-yy"), NIMBO_TEXT("(\\w+)-(\\w+)")), 1);
  EXPECT_EQ(condition(kSearchPartial, NIMBO_TEXT("none"), NIMBO_TEXT("(\\d)")), 0);
  EXPECT_EQ(rd->lastMatch.size(), 4u);
  EXPECT_EQ(loggedText(runtime->step(), "element 0"), "ab");
}

// Condition 5, the exact match and the TEXT rebuild.

TEST_F(TextRegex, AnExactMatchOnASourceThatMatchesOnlyInPartFailsAndEmptiesTheResults) {
  start(settings(0, 0, NIMBO_TEXT(",")));
  ASSERT_EQ(condition(kExactMatch, NIMBO_TEXT("12"), NIMBO_TEXT("((\\d)(\\d))")), 1);
  ASSERT_FALSE(rd->lastMatch.empty());
  nimbo::Text before = text();
  EXPECT_EQ(condition(kExactMatch, NIMBO_TEXT("abc123"), NIMBO_TEXT("\\d+")), 0);
  EXPECT_TRUE(rd->lastMatch.empty());
  EXPECT_EQ(rd->mismatchFlag, 1);
  EXPECT_EQ(text(), before);
}

TEST_F(TextRegex, DigitsJoinedByHyphensAreRebuiltWithTheCommaBetweenAndTheSemicolonLast) {
  start(settings(0, 0, NIMBO_TEXT(",;")),
        {{{ExtensionCondition{
              0, kExactMatch, {Text(NIMBO_TEXT("10-20-30")), Text(NIMBO_TEXT("((\\d+)-(\\d+)-(\\d+))"))}}},
          {logOf("TEXT", expression(kGetText))}}});
  StepRecord record = runtime->step();
  EXPECT_EQ(loggedText(record, "TEXT"), "10,20,30;");
  EXPECT_EQ(rd->mismatchFlag, 0);
  EXPECT_TRUE(record.messageBoxes.empty());
}

TEST_F(TextRegex, AnExactMatchWithOneCaptureGroupEmptiesTheText) {
  start(settings(0, 0, NIMBO_TEXT(",;")));
  EXPECT_EQ(condition(kExactMatch, NIMBO_TEXT("abc"), NIMBO_TEXT("(abc)")), 1);
  ASSERT_NE(rd->sText, nullptr);
  EXPECT_EQ(text(), NIMBO_TEXT(""));
}

TEST_F(TextRegex, AnExactMatchWithTwoElementsAndAOneCharacterTextShowsTheA21BoxThenRebuildsItAsE0D0E1) {
  start(settings(0, 0, NIMBO_TEXT("/")));
  EXPECT_EQ(condition(kExactMatch, NIMBO_TEXT("12:34"), NIMBO_TEXT("((\\d+):(\\d+))")), 1);
  EXPECT_EQ(text(), NIMBO_TEXT("12/34"));
  std::vector<ShownMessageBox> boxes = takeMessageBoxes();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].text, "Smart Delimiter type A.2.1 >> Condition if (d == 1)");
  EXPECT_EQ(boxes[0].caption, "REGEX Match::RGXMatchFullSETMXVal >> if TRUE");
}

TEST_F(TextRegex, AFullMatchWithoutCaptureGroupsLeavesTheTextAsItWas) {
  for (const Text& previous :
       {Text(NIMBO_TEXT(",")), Text(NIMBO_TEXT(",;")), Text(NIMBO_TEXT("")), Text(NIMBO_TEXT(",;:"))}) {
    start(settings(0, 0, previous), {always({logOf("count", expression(kTotalNumberMatch)),
                                             logOf("element", expression(kSubMatch, {0}))})});
    EXPECT_EQ(condition(kExactMatch, NIMBO_TEXT("123"), NIMBO_TEXT("\\d+")), 1);
    EXPECT_EQ(text(), previous);
    StepRecord record = runtime->step();
    EXPECT_EQ(loggedNumber(record, "count"), -1);
    EXPECT_EQ(loggedText(record, "element"), kNoSubmatch);
    EXPECT_TRUE(record.messageBoxes.empty());
  }
}

TEST_F(TextRegex, AnExactMatchKeepsItsOwnCopyOfTheSource) {
  start(settings(0, 0, NIMBO_TEXT("")), {always({logOf("element 1", expression(kSubMatch, {1}))})});
  {
    Text source(NIMBO_TEXT("left=right"));
    ASSERT_EQ(condition(kExactMatch, source, NIMBO_TEXT("((\\w+)=(\\w+))")), 1);
    source.assign(source.size(), NIMBO_TEXT('#'));
  }
  EXPECT_EQ(loggedText(runtime->step(), "element 1"), "right");
}

TEST_F(TextRegex, AnAbsentTextIsAnEmptyDelimiterAndAMatchGivesAnEmptyText) {
  start(settings(0, 0, NIMBO_TEXT("ab")));
  nimbo::Char* kept = std::exchange(rd->sText, nullptr);
  EXPECT_EQ(condition(kExactMatch, NIMBO_TEXT("1-2"), NIMBO_TEXT("((\\d)-(\\d))")), 1);
  ASSERT_NE(rd->sText, nullptr);
  EXPECT_EQ(text(), NIMBO_TEXT(""));
  std::free(kept);
}

TEST_F(TextRegex, IgnoringCaseNeedsTheOptionsWordToBeExactly2) {
  for (uint32_t options : {0u, 1u, 2u, 3u, 6u}) {
    start(settings(0, options, NIMBO_TEXT("")));
    int32_t expected = options == 2 ? 1 : 0;
    EXPECT_EQ(condition(kSearchPartial, NIMBO_TEXT("SAY HELLO"), NIMBO_TEXT("hello")), expected) << options;
    EXPECT_EQ(condition(kExactMatch, NIMBO_TEXT("HELLO"), NIMBO_TEXT("(hel)(lo)")), expected) << options;
  }
}

// Regex errors in the conditions and the flags the frame step raises.

TEST_F(TextRegex, AnInvalidPatternInTheSearchSetsTheFlagSilentlyOrShowsTheInfoBoxWithPopUp) {
  std::string description = narrowDescriptionOf(L"(");
  start(settings(0, 0, NIMBO_TEXT("")));
  EXPECT_EQ(condition(kSearchPartial, NIMBO_TEXT("abc"), NIMBO_TEXT("(")), 0);
  EXPECT_EQ(rd->regexErrorFlag, 1);
  EXPECT_EQ(rd->mismatchFlag, 0);
  EXPECT_TRUE(takeMessageBoxes().empty());

  // Only a pop-up setting of exactly 1 shows the box, as a record holding another value shows.
  rd->regexErrorFlag = 0;
  rd->popupSetting = 2;
  EXPECT_EQ(condition(kSearchPartial, NIMBO_TEXT("abc"), NIMBO_TEXT("(")), 0);
  EXPECT_EQ(rd->regexErrorFlag, 1);
  EXPECT_TRUE(takeMessageBoxes().empty());

  start(settings(1, 0, NIMBO_TEXT("")));
  rd->mismatchFlag = 1;
  EXPECT_EQ(condition(kSearchPartial, NIMBO_TEXT("abc"), NIMBO_TEXT("(")), 0);
  EXPECT_EQ(rd->regexErrorFlag, 0);
  EXPECT_EQ(rd->mismatchFlag, 1);
  std::vector<ShownMessageBox> boxes = takeMessageBoxes();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].caption, "INFO");
  EXPECT_EQ(boxes[0].text, description);
}

TEST_F(TextRegex, AnInvalidPatternInTheExactMatchAlwaysSetsTheFlagAndShowsItsBox) {
  std::string description = narrowDescriptionOf(L"(");
  for (uint8_t popup : {uint8_t{0}, uint8_t{1}}) {
    start(settings(popup, 0, NIMBO_TEXT("kept")));
    EXPECT_EQ(condition(kExactMatch, NIMBO_TEXT("abc"), NIMBO_TEXT("(")), 0);
    EXPECT_EQ(rd->regexErrorFlag, 1);
    EXPECT_EQ(rd->mismatchFlag, 0);
    EXPECT_EQ(text(), NIMBO_TEXT("kept"));
    std::vector<ShownMessageBox> boxes = takeMessageBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].caption, "regex_error::RGXMatchFullSETMXVal");
    EXPECT_EQ(boxes[0].text, description);
  }
}

TEST_F(TextRegex, TheErrorConditionIsTrueInTheStepAfterAnErrorAndFalseAfterwards) {
  start(settings(0, 0, NIMBO_TEXT("")), {whenRaised(kRegexError, "regex error")});
  condition(kSearchPartial, NIMBO_TEXT("abc"), NIMBO_TEXT("("));
  StepRecord first = runtime->step();
  EXPECT_TRUE(wasLogged(first, "regex error"));
  EXPECT_EQ(rd->regexErrorFlag, 0);
  EXPECT_FALSE(wasLogged(runtime->step(), "regex error"));
  EXPECT_EQ(condition(kRegexError), 0);
}

TEST_F(TextRegex, TheMismatchConditionIsRaisedEveryStepAfterAFailureUntilAMatch) {
  start(settings(0, 0, NIMBO_TEXT("")), {whenRaised(kMismatch, "mismatch")});
  EXPECT_FALSE(wasLogged(runtime->step(), "mismatch"));
  condition(kSearchPartial, NIMBO_TEXT("abc"), NIMBO_TEXT("\\d"));
  EXPECT_TRUE(wasLogged(runtime->step(), "mismatch"));
  EXPECT_TRUE(wasLogged(runtime->step(), "mismatch"));
  EXPECT_EQ(condition(kMismatch), 1);
  condition(kExactMatch, NIMBO_TEXT("7"), NIMBO_TEXT("\\d"));
  EXPECT_FALSE(wasLogged(runtime->step(), "mismatch"));
  condition(kExactMatch, NIMBO_TEXT("x"), NIMBO_TEXT("\\d"));
  EXPECT_TRUE(wasLogged(runtime->step(), "mismatch"));
  condition(kSearchPartial, NIMBO_TEXT("x1"), NIMBO_TEXT("\\d"));
  EXPECT_FALSE(wasLogged(runtime->step(), "mismatch"));
}

// Expression 1, the replace.

EventLine replaceLine(const Text& pattern, const Text& format) {
  return always({logOf("replaced", expression(kReplace, {pattern, format}))});
}

// No pattern and no text may crash or hang the game: past the matcher's work or stack bound an
// operation ends in the routine's regex-error path; below them it gives its ordinary result.

TEST_F(TextRegex, AnExactMatchOfAnAlternationLoopOver100000UnitsMatchesWithoutOverflowingTheStack) {
  start(settings(0, 0, NIMBO_TEXT("")));
  Text source(100000, NIMBO_TEXT('a'));
  for (size_t i = 0; i < source.size(); i += 3) source[i] = NIMBO_TEXT('b');
  EXPECT_EQ(condition(kExactMatch, source, NIMBO_TEXT("(a|b)*")), 1);
  EXPECT_EQ(rd->regexErrorFlag, 0);
  EXPECT_EQ(rd->lastMatch.size(), 2u);
}

TEST_F(TextRegex, NestedQuantifiersSearchedIn40UnitsEndInTheRegexErrorInsteadOfHanging) {
  start(settings(0, 0, NIMBO_TEXT("")));
  EXPECT_EQ(condition(kSearchPartial, Text(40, NIMBO_TEXT('a')), NIMBO_TEXT("(a+)+b")), 0);
  EXPECT_EQ(rd->regexErrorFlag, 1);
  EXPECT_EQ(rd->mismatchFlag, 0);
}

// Stars on stars can each match nothing: the matcher turns in them without moving along the text, for
// minutes on 8 units (found by the stateful fuzzer).
TEST_F(TextRegex, StackedStarsMatchedOnAShortTextEndInTheRegexErrorInsteadOfHanging) {
  start(settings(0, 0, NIMBO_TEXT("kept")));
  EXPECT_EQ(condition(kExactMatch, NIMBO_TEXT("ab-2-0-1"), NIMBO_TEXT("a******************")), 0);
  EXPECT_EQ(rd->regexErrorFlag, 1);
  EXPECT_EQ(text(), NIMBO_TEXT("kept"));
  EXPECT_EQ(condition(kSearchPartial, NIMBO_TEXT("ab-2-0-1"), NIMBO_TEXT("(a*)*(b*)*(a*)*(b*)*(a*)*(b*)*c")),
            0);
  EXPECT_EQ(rd->regexErrorFlag, 1);
}

TEST_F(TextRegex, ACatastrophicExactMatchOver5000UnitsShowsItsErrorBoxAndLeavesTheText) {
  start(settings(0, 0, NIMBO_TEXT("kept")));
  EXPECT_EQ(condition(kExactMatch, Text(5000, NIMBO_TEXT('x')), NIMBO_TEXT("(x+x+)+y")), 0);
  EXPECT_EQ(rd->regexErrorFlag, 1);
  EXPECT_EQ(text(), NIMBO_TEXT("kept"));
  std::vector<ShownMessageBox> boxes = takeMessageBoxes();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].caption, "regex_error::RGXMatchFullSETMXVal");
}

// Texts whose match would need more stack than any thread has: gigabytes by the estimate, a count that
// wraps round to a small number in 32-bit arithmetic. They end in the stack error, never in a match
// that overflows the game's stack.
TEST_F(TextRegex, AnExactMatchTooDeepForAnyStackShowsTheStackErrorBox) {
  start(settings(1, 0, NIMBO_TEXT("kept")));
  std::string stackError = std::regex_error(std::regex_constants::error_stack).what();
  const std::pair<size_t, Text> cases[] = {{2396745, NIMBO_TEXT("(a|b)*")},
                                           {900000, NIMBO_TEXT("(a|b|c|d|e)*")}};
  for (const auto& [units, pattern] : cases) {
    Text source(units, NIMBO_TEXT('a'));
    for (size_t i = 0; i < source.size(); i += 3) source[i] = NIMBO_TEXT('b');
    rd->regexErrorFlag = 0;
    EXPECT_EQ(condition(kExactMatch, source, pattern), 0);
    EXPECT_EQ(rd->regexErrorFlag, 1);
    EXPECT_EQ(text(), NIMBO_TEXT("kept"));
    std::vector<ShownMessageBox> boxes = takeMessageBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, stackError);
  }
}

#if defined(_WIN32) && !defined(_WIN64)
// Holds all of a 32-bit process's free address space but one region of `leftBytes`, as a long-running
// game's fragmented address space does.
class AddressSpaceHog {
 public:
  explicit AddressSpaceHog(size_t leftBytes) {
    void* left = VirtualAlloc(nullptr, leftBytes, MEM_RESERVE, PAGE_NOACCESS);
    for (size_t chunk = size_t{1} << 30; chunk >= 65536; chunk /= 2) {
      while (void* taken = VirtualAlloc(nullptr, chunk, MEM_RESERVE, PAGE_NOACCESS)) held_.push_back(taken);
    }
    if (left) VirtualFree(left, 0, MEM_RELEASE);
  }
  ~AddressSpaceHog() {
    for (void* taken : held_) VirtualFree(taken, 0, MEM_RELEASE);
  }

 private:
  std::vector<void*> held_;
};

TEST_F(TextRegex, ADeepMatchFindsItsStackWhenOnlyWhatItNeedsIsFree) {
  start(settings(1, 0, NIMBO_TEXT("")));
  Text source(20000, NIMBO_TEXT('a'));
  for (size_t i = 0; i < source.size(); i += 3) source[i] = NIMBO_TEXT('b');
  int32_t matched = 0;
  {
    AddressSpaceHog hog(size_t{160} << 20);
    matched = condition(kExactMatch, source, NIMBO_TEXT("(a|b)*"));
  }
  EXPECT_EQ(matched, 1);
  EXPECT_EQ(rd->regexErrorFlag, 0);
  EXPECT_TRUE(takeMessageBoxes().empty());
}
#endif

TEST_F(TextRegex, AReplaceOver200000UnitsGivesTheWholeResult) {
  std::string words;
  while (words.size() < 200000) words += "alpha beta; ";
  start(settings(0, 0, Text(words.begin(), words.end())),
        {replaceLine(NIMBO_TEXT("(\\w+) (\\w+)"), NIMBO_TEXT("$2 $1"))});
  std::string expected;
  while (expected.size() < words.size()) expected += "beta alpha; ";
  EXPECT_EQ(loggedText(runtime->step(), "replaced"), expected);
  EXPECT_EQ(rd->regexErrorFlag, 0);
}

TEST_F(TextRegex, ACatastrophicReplaceReturnsTheDescriptionOfTheMatcherLimit) {
  start(settings(0, 0, Text(30, NIMBO_TEXT('a'))), {replaceLine(NIMBO_TEXT("(a+)+b"), NIMBO_TEXT("c"))});
  std::string limit = std::regex_error(std::regex_constants::error_complexity).what();
  EXPECT_EQ(loggedText(runtime->step(), "replaced"), limit);
}

// The compiler reads these numbers without an overflow check: past int's range they must be refused
// with the error a merely too large one gets, and digits that are no count or reference left alone.
TEST_F(TextRegex, CountsAndReferencesPastIntsRangeGetTheErrorOfOneTooLarge) {
  const std::string tooManyStates = narrowDescriptionOf(L"a{200000}");
  const std::string noSuchGroup = narrowDescriptionOf(L"(a)\\2");
  ASSERT_FALSE(tooManyStates.empty());
  ASSERT_FALSE(noSuchGroup.empty());
  const std::vector<std::pair<Text, std::string>> refused = {
      {NIMBO_TEXT("a{99999999999}"), tooManyStates},
      {NIMBO_TEXT("a{1,18446744073709551617}"), tooManyStates},
      {NIMBO_TEXT("a{2147483648,}"), tooManyStates},
      {NIMBO_TEXT("(a)\\99999999999"), noSuchGroup},
  };
  for (const auto& [pattern, description] : refused) {
    start(settings(0, 0, NIMBO_TEXT("aaa")), {replaceLine(pattern, NIMBO_TEXT("x"))});
    EXPECT_EQ(loggedText(runtime->step(), "replaced"), description);
  }
  for (const Text literal :
       {NIMBO_TEXT("[{]99999999999}"), NIMBO_TEXT("\\{99999999999\\}"), NIMBO_TEXT("[{99999999999}]+")}) {
    start(settings(0, 0, NIMBO_TEXT("x{99999999999}y")), {replaceLine(literal, NIMBO_TEXT(""))});
    EXPECT_EQ(loggedText(runtime->step(), "replaced"), "xy");
  }
}

TEST_F(TextRegex, ReplaceRewritesEveryMatchOfTheTextAndLeavesTheTextItself) {
  start(settings(0, 0, NIMBO_TEXT("10-20 30-40")),
        {replaceLine(NIMBO_TEXT("(\\d+)-(\\d+)"), NIMBO_TEXT("$2+$1"))});
  EXPECT_EQ(loggedText(runtime->step(), "replaced"), "20+10 40+30");
  EXPECT_EQ(text(), NIMBO_TEXT("10-20 30-40"));
}

TEST_F(TextRegex, ReplaceIgnoresCaseOnlyWhenTheOptionsWordIs2) {
  start(settings(0, 2, NIMBO_TEXT("Abc aBC")), {replaceLine(NIMBO_TEXT("abc"), NIMBO_TEXT("x"))});
  EXPECT_EQ(loggedText(runtime->step(), "replaced"), "x x");
  start(settings(0, 3, NIMBO_TEXT("Abc aBC")), {replaceLine(NIMBO_TEXT("abc"), NIMBO_TEXT("x"))});
  EXPECT_EQ(loggedText(runtime->step(), "replaced"), "Abc aBC");
}

TEST_F(TextRegex, ReplaceWithAPatternThatDoesNotOccurReturnsTheTextUnchanged) {
  start(settings(1, 0, NIMBO_TEXT("nothing to see")), {replaceLine(NIMBO_TEXT("\\d"), NIMBO_TEXT("#"))});
  StepRecord record = runtime->step();
  EXPECT_EQ(loggedText(record, "replaced"), "nothing to see");
  EXPECT_TRUE(record.messageBoxes.empty());
}

TEST_F(TextRegex, AnEmptyReplaceResultShowsTheInfoIfNullBoxOnlyWithPopUp) {
  start(settings(0, 0, NIMBO_TEXT("abc")), {replaceLine(NIMBO_TEXT("abc"), NIMBO_TEXT(""))});
  StepRecord quiet = runtime->step();
  EXPECT_EQ(loggedText(quiet, "replaced"), "");
  EXPECT_TRUE(quiet.messageBoxes.empty());

  start(settings(1, 0, NIMBO_TEXT("abc")), {replaceLine(NIMBO_TEXT("abc"), NIMBO_TEXT(""))});
  StepRecord shown = runtime->step();
  EXPECT_EQ(loggedText(shown, "replaced"), "");
  ASSERT_EQ(shown.messageBoxes.size(), 1u);
  EXPECT_EQ(shown.messageBoxes[0].text, "NULL | 空のデータ");
  EXPECT_EQ(shown.messageBoxes[0].caption, "INFO if NULL");
}

TEST_F(TextRegex, ReplaceOverAnAbsentTextWorksOnTheEmptyText) {
  start(settings(1, 0, NIMBO_TEXT("abc")), {replaceLine(NIMBO_TEXT("b"), NIMBO_TEXT("x"))});
  nimbo::Char* kept = std::exchange(rd->sText, nullptr);
  StepRecord record = runtime->step();
  rd->sText = kept;
  EXPECT_EQ(loggedText(record, "replaced"), "");
  ASSERT_EQ(record.messageBoxes.size(), 1u);
  EXPECT_EQ(record.messageBoxes[0].caption, "INFO if NULL");
}

TEST_F(TextRegex, AResultOver50000BytesShowsTheNeededSizeOnceAndDoublesTheCache) {
  std::string fitting(24999, 'a');
  start(settings(0, 0, Text(fitting.begin(), fitting.end())),
        {replaceLine(NIMBO_TEXT("b"), NIMBO_TEXT("c"))});
  StepRecord exact = runtime->step();
  EXPECT_EQ(loggedText(exact, "replaced"), fitting);
  EXPECT_TRUE(exact.messageBoxes.empty());
  EXPECT_EQ(rd->REPLACED_STR_CACHE_SIZE, 50000u);

  std::string longer(25000, 'a');
  start(settings(0, 0, Text(longer.begin(), longer.end())), {replaceLine(NIMBO_TEXT("b"), NIMBO_TEXT("c"))});
  StepRecord grown = runtime->step();
  EXPECT_EQ(loggedText(grown, "replaced"), longer);
  ASSERT_EQ(grown.messageBoxes.size(), 1u);
  EXPECT_EQ(grown.messageBoxes[0].text, "(ts.size() + 1) * sizeof(TCHAR)  = 50002");
  EXPECT_EQ(grown.messageBoxes[0].caption, ":: Message :: GetRegexReplace Function :: ER2264");
  EXPECT_EQ(rd->REPLACED_STR_CACHE_SIZE, 100004u);

  StepRecord again = runtime->step();
  EXPECT_EQ(loggedText(again, "replaced"), longer);
  EXPECT_TRUE(again.messageBoxes.empty());
}

TEST_F(TextRegex, ARegexErrorInReplaceReturnsTheDescriptionAndSetsTheFlag) {
  std::string description = narrowDescriptionOf(L"(");
  start(settings(0, 0, NIMBO_TEXT("abc")),
        {replaceLine(NIMBO_TEXT("("), NIMBO_TEXT("x")), whenRaised(kRegexError, "regex error")});
  StepRecord quiet = runtime->step();
  EXPECT_EQ(loggedText(quiet, "replaced"), description);
  EXPECT_TRUE(wasLogged(quiet, "regex error"));
  EXPECT_TRUE(quiet.messageBoxes.empty());

  start(settings(1, 0, NIMBO_TEXT("abc")),
        {replaceLine(NIMBO_TEXT("("), NIMBO_TEXT("x")), whenRaised(kRegexError, "regex error")});
  StepRecord shown = runtime->step();
  EXPECT_EQ(loggedText(shown, "replaced"), description);
  EXPECT_TRUE(wasLogged(shown, "regex error"));
  ASSERT_EQ(shown.messageBoxes.size(), 1u);
  EXPECT_EQ(shown.messageBoxes[0].caption, "INFO");
  EXPECT_EQ(shown.messageBoxes[0].text, description);
}

// Expressions 7 and 8, the element count and the elements.

TEST_F(TextRegex, FourCaptureGroupsGiveThreeElementsWithGroup1AsElementMinus1) {
  auto element = [](int32_t number) {
    return logOf(std::to_string(number), expression(kSubMatch, {number}));
  };
  std::vector<Action> logs = {logOf("count", expression(kTotalNumberMatch)),
                              element(-3),
                              element(-2),
                              element(-1),
                              element(0),
                              element(1),
                              element(2),
                              element(3),
                              element(1000)};
  start(settings(0, 0, NIMBO_TEXT("")),
        {{{ExtensionCondition{
              0, kExactMatch, {Text(NIMBO_TEXT("x10-20-30")), Text(NIMBO_TEXT("x((\\d+)-(\\d+)-(\\d+))"))}}},
          logs}});
  StepRecord record = runtime->step();
  EXPECT_EQ(loggedNumber(record, "count"), 3);
  EXPECT_EQ(loggedText(record, "0"), "10");
  EXPECT_EQ(loggedText(record, "1"), "20");
  EXPECT_EQ(loggedText(record, "2"), "30");
  EXPECT_EQ(loggedText(record, "3"), "");
  EXPECT_EQ(loggedText(record, "1000"), "");
  EXPECT_EQ(loggedText(record, "-1"), "10-20-30");
  EXPECT_EQ(loggedText(record, "-2"), "x10-20-30");
  EXPECT_EQ(loggedText(record, "-3"), "");
}

TEST_F(TextRegex, WithoutAnExactMatchOrWithOneCaptureGroupThereIsNoSubmatch) {
  start(settings(0, 0, NIMBO_TEXT("")), {always({logOf("count", expression(kTotalNumberMatch)),
                                                 logOf("element", expression(kSubMatch, {-1}))})});
  StepRecord before = runtime->step();
  EXPECT_EQ(loggedNumber(before, "count"), 0);
  EXPECT_EQ(loggedText(before, "element"), kNoSubmatch);

  ASSERT_EQ(condition(kExactMatch, NIMBO_TEXT("abc"), NIMBO_TEXT("(abc)")), 1);
  StepRecord one = runtime->step();
  EXPECT_EQ(loggedNumber(one, "count"), 0);
  EXPECT_EQ(loggedText(one, "element"), kNoSubmatch);

  ASSERT_EQ(condition(kExactMatch, NIMBO_TEXT("abc"), NIMBO_TEXT("(a)(b)c")), 1);
  ASSERT_EQ(condition(kExactMatch, NIMBO_TEXT("abc!"), NIMBO_TEXT("(a)(b)c")), 0);
  StepRecord failed = runtime->step();
  EXPECT_EQ(loggedNumber(failed, "count"), 0);
  EXPECT_EQ(loggedText(failed, "element"), kNoSubmatch);
}

TEST_F(TextRegex, ASubMatchLongerThan999UnitsGrowsSubMatchBuffToExactlyTheNeededBytes) {
  start(settings(0, 0, NIMBO_TEXT("")), {always({logOf("element", expression(kSubMatch, {0}))})});
  Text fits(1000, NIMBO_TEXT('b'));
  fits[0] = NIMBO_TEXT('a');
  ASSERT_EQ(condition(kExactMatch, fits, NIMBO_TEXT("(a)(b*)")), 1);
  EXPECT_EQ(loggedText(runtime->step(), "element"), std::string(999, 'b'));
  EXPECT_EQ(rd->SubMatchBuffSize, 2000u);

  Text longer(1201, NIMBO_TEXT('b'));
  longer[0] = NIMBO_TEXT('a');
  ASSERT_EQ(condition(kExactMatch, longer, NIMBO_TEXT("(a)(b*)")), 1);
  StepRecord grown = runtime->step();
  EXPECT_EQ(loggedText(grown, "element"), std::string(1200, 'b'));
  EXPECT_EQ(rd->SubMatchBuffSize, 2402u);
  EXPECT_TRUE(grown.messageBoxes.empty());
}

}  // namespace
}  // namespace vohost
