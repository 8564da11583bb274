// The desktop a run sees: every message box shown is read back with its caption and text, in order,
// whether the desk logs it or a hook reads and dismisses the real one.
#include <gtest/gtest.h>

#include "platform/platform.h"
#include "vohost/simhost/desktop.h"

namespace vohost {
namespace {

TEST(Desktop, MessageBoxesAreReadBackInOrderWithCaptionAndTextThenForgotten) {
  takeMessageBoxes();
  nimbo::platform::messageBox(NIMBO_TEXT("ERROR CODE #RNTIM_089"),
                              NIMBO_TEXT("Runtime >> sText::FAILED_MALLOC"));
  nimbo::platform::messageBox(NIMBO_TEXT("日本語表現\nsecond line"), NIMBO_TEXT("“quoted”"));

  std::vector<ShownMessageBox> shown = takeMessageBoxes();
  ASSERT_EQ(shown.size(), 2u);
  EXPECT_EQ(shown[0].caption, "Runtime >> sText::FAILED_MALLOC");
  EXPECT_EQ(shown[0].text, "ERROR CODE #RNTIM_089");
  EXPECT_EQ(shown[1].caption, "“quoted”");
  EXPECT_EQ(shown[1].text, "日本語表現\nsecond line");
  EXPECT_TRUE(takeMessageBoxes().empty());
}

TEST(Desktop, TheFrameHasAMainWindow) {
  MainWindow window(320, 240);
  EXPECT_NE(window.handle(), nullptr);
}

}  // namespace
}  // namespace vohost
