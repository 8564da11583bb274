// The application window, the task bar and the clipboard watch as a game drives them: the routines
// called through the jump tables of a running frame, against the desk on Linux and the real USER32
// under Windows.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <vector>

#include "record/rundata.h"
#include "vohost/simhost/desktop.h"
#include "vohost/simhost/runtime.h"

namespace vohost {
namespace {

constexpr int kAutoPositionMode = 1, kClipboardChange = 7;
constexpr int kSetAutoPosition = 1, kEndAutoPosition = 2, kStartAutoPosition = 3, kSetCaption = 5,
              kWindowControl = 51;
constexpr int kMinimize = 0, kMaximizeOrRestore = 1, kToggleTaskBar = 2;

class Window : public ::testing::Test {
 protected:
  Extension extension{NIMBO_EXTENSION_PATH};
  std::unique_ptr<Runtime> runtime;

  void start(int frameRate = 60) {
    Scene scene;
    scene.frame.frameRate = frameRate;
    scene.nimbo = {EditOverrides{}};
    runtime = std::make_unique<Runtime>(extension, std::move(scene));
  }

  int32_t condition(int code) {
    auto routine = static_cast<const voConditionRoutine*>(runtime->runInfo().conditions)[code];
    return routine(runtime->nimboRecord(0), 0, 0);
  }

  void action(int code, voValue param = 0) {
    auto routine = static_cast<const voActionRoutine*>(runtime->runInfo().actions)[code];
    routine(runtime->nimboRecord(0), param, 0);
  }

  void setCaption(const nimbo::Text& caption) {
    action(kSetCaption, reinterpret_cast<voValue>(caption.c_str()));
  }

  // Results of `count` evaluations of the clipboard watch in a row.
  std::vector<int32_t> clipboardChecks(int count) {
    std::vector<int32_t> results;
    for (int i = 0; i < count; ++i) results.push_back(condition(kClipboardChange));
    return results;
  }

  const nimbo::RUNDATA& record() { return *nimbo::runData(runtime->nimboRecord(0)); }
};

bool raisedAutoPosition(const StepRecord& record) {
  return std::find(record.raised.begin(), record.raised.end(), RaisedCondition{0, kAutoPositionMode}) !=
         record.raised.end();
}

// Auto position.

TEST_F(Window, FirstMoveWithoutStartMovesByTheWholeCursorPositionThenByItsTravel) {
  start();
  DeskState before = runtime->desk();
  moveCursor(30, 20);
  action(kSetAutoPosition);
  DeskState moved = runtime->desk();
  EXPECT_EQ(moved.x, before.x + 30);
  EXPECT_EQ(moved.y, before.y + 20);
  EXPECT_EQ(moved.width, before.width);
  EXPECT_EQ(moved.height, before.height);

  moveCursor(50, 45);
  action(kSetAutoPosition);
  EXPECT_EQ(runtime->desk().x, moved.x + 20);
  EXPECT_EQ(runtime->desk().y, moved.y + 25);
  EXPECT_EQ(record().dragOriginX, 50);
  EXPECT_EQ(record().dragOriginY, 45);
}

TEST_F(Window, StartModeTakesTheCursorAsOriginAndTheFrameStepRaisesItUntilEnded) {
  start();
  EXPECT_EQ(condition(kAutoPositionMode), 0);
  EXPECT_FALSE(raisedAutoPosition(runtime->step()));

  moveCursor(100, 100);
  action(kStartAutoPosition);
  EXPECT_EQ(condition(kAutoPositionMode), 1);
  DeskState before = runtime->desk();
  moveCursor(110, 95);
  action(kSetAutoPosition);
  EXPECT_EQ(runtime->desk().x, before.x + 10);
  EXPECT_EQ(runtime->desk().y, before.y - 5);
  EXPECT_TRUE(raisedAutoPosition(runtime->step()));
  EXPECT_TRUE(raisedAutoPosition(runtime->step()));

  action(kEndAutoPosition);
  EXPECT_EQ(condition(kAutoPositionMode), 0);
  EXPECT_FALSE(raisedAutoPosition(runtime->step()));
}

// Caption and show state.

TEST_F(Window, CaptionIsTheTextAsGivenEvenEmpty) {
  start();
  setCaption(NIMBO_TEXT("Game 日本語"));
  EXPECT_EQ(runtime->desk().caption, "Game 日本語");
  setCaption(NIMBO_TEXT(""));
  EXPECT_EQ(runtime->desk().caption, "");
}

TEST_F(Window, MaximiseAndRestoreToggleAndMinimisedWindowIsMaximised) {
  start();
  EXPECT_EQ(runtime->desk().show, "normal");
  action(kWindowControl, kMaximizeOrRestore);
  EXPECT_EQ(runtime->desk().show, "maximized");
  action(kWindowControl, kMaximizeOrRestore);
  EXPECT_EQ(runtime->desk().show, "normal");

  action(kWindowControl, kMinimize);
  EXPECT_EQ(runtime->desk().show, "minimized");
  action(kWindowControl, kMaximizeOrRestore);
  EXPECT_EQ(runtime->desk().show, "maximized");
  action(kWindowControl, kMaximizeOrRestore);
  EXPECT_EQ(runtime->desk().show, "normal");

  action(kWindowControl, 3);
  action(kWindowControl, -1);
  EXPECT_EQ(runtime->desk().show, "normal");
}

// A desktop may start with its task bar hidden (Wine's, without tray icons): toggling twice then shows
// and hides it, through the other branch, and leaves the desktop as it was either way.
TEST_F(Window, TaskBarTogglesTwiceBackToItsStateBesideANormalOrAMaximisedWindow) {
  start();
  if (!runtime->desk().taskBarPresent) GTEST_SKIP() << "this desktop has no window of class Shell_TrayWnd";
  const bool shownAtStart = runtime->desk().taskBarVisible;
  for (bool maximised : {false, true}) {
    if (maximised) action(kWindowControl, kMaximizeOrRestore);
    action(kWindowControl, kToggleTaskBar);
    EXPECT_EQ(runtime->desk().taskBarVisible, !shownAtStart) << "maximised " << maximised;
    action(kWindowControl, kToggleTaskBar);
    EXPECT_EQ(runtime->desk().taskBarVisible, shownAtStart) << "maximised " << maximised;
  }
  action(kWindowControl, kMaximizeOrRestore);
}

// Clipboard watch.

TEST_F(Window, At60FramesPerSecondTheClipboardIsCheckedOneEvaluationInSeven) {
  start(60);
  setClipboardText(NIMBO_TEXT("first"));
  EXPECT_EQ(clipboardChecks(7), (std::vector<int32_t>{0, 0, 0, 0, 0, 0, 1}));
  EXPECT_EQ(clipboardChecks(7), (std::vector<int32_t>{0, 0, 0, 0, 0, 0, 0}));

  clipboardChecks(3);
  setClipboardText(NIMBO_TEXT("between checks"));
  EXPECT_EQ(clipboardChecks(4), (std::vector<int32_t>{0, 0, 0, 1}));

  setClipboardText(NIMBO_TEXT("one"));
  setClipboardText(NIMBO_TEXT("two"));
  EXPECT_EQ(clipboardChecks(14), (std::vector<int32_t>{0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0}));
}

TEST_F(Window, NonTextContentIsTakenUpUnreportedAndALaterTextIsReported) {
  start(60);
  setClipboardText(NIMBO_TEXT("first"));
  clipboardChecks(7);
  setClipboardData();
  EXPECT_EQ(clipboardChecks(7), (std::vector<int32_t>{0, 0, 0, 0, 0, 0, 0}));
  EXPECT_EQ(clipboardChecks(7), (std::vector<int32_t>{0, 0, 0, 0, 0, 0, 0}));
  setClipboardText(NIMBO_TEXT("text again"));
  EXPECT_EQ(clipboardChecks(7), (std::vector<int32_t>{0, 0, 0, 0, 0, 0, 1}));
}

TEST_F(Window, BelowTenFramesPerSecondEveryEvaluationChecks) {
  start(9);
  setClipboardText(NIMBO_TEXT("first"));
  EXPECT_EQ(clipboardChecks(2), (std::vector<int32_t>{1, 0}));
  setClipboardText(NIMBO_TEXT("second"));
  EXPECT_EQ(clipboardChecks(2), (std::vector<int32_t>{1, 0}));
}

}  // namespace
}  // namespace vohost
