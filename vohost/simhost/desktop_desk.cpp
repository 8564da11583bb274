// The simulated desktop: the extension logs message boxes in the shared desk library, and the desk has
// one application window, named by a token, a task bar, a cursor and a clipboard, all driven from here.
#include "platform/desk/desk_dialog.h"
#include "platform/desk/desk_window.h"
#include "vohost/simhost/desktop.h"
#include "vohost/utf.h"

namespace vohost {

namespace {
const char* showName(nimbo::desk::ShowState show) {
  switch (show) {
    case nimbo::desk::ShowState::normal:
      return "normal";
    case nimbo::desk::ShowState::minimized:
      return "minimized";
    case nimbo::desk::ShowState::maximized:
      return "maximized";
  }
  return "";
}
}  // namespace

std::vector<ShownMessageBox> takeMessageBoxes() {
  std::vector<ShownMessageBox> shown;
  for (const nimbo::desk::MessageBoxRecord& box : nimbo::desk::takeMessageBoxes()) {
    shown.push_back({toUtf8(box.caption), toUtf8(box.text)});
  }
  return shown;
}

// The desk's dialogs end with the code their button or key gives: 1 for OK, 2 for Escape (cancel).
void answerDialogsWith(DialogAnswer answer) {
  nimbo::desk::setDialogAnswer(answer == DialogAnswer::ok ? 1 : 2);
}

// Each window opens on a fresh desk, so runs do not see each other's cursor or clipboard.
MainWindow::MainWindow(int width, int height) : handle_(this) {
  nimbo::desk::openWindow(width, height, u"NIMBO");
}

MainWindow::~MainWindow() = default;

// The desk has one application window: the one the run opened.
DeskState deskState(const MainWindow&) {
  nimbo::desk::WindowState desk = nimbo::desk::windowState();
  return {desk.x,
          desk.y,
          desk.width,
          desk.height,
          toUtf8(desk.caption),
          showName(desk.show),
          true,
          desk.taskBarVisible,
          desk.clipboardHasText};
}

void moveCursor(int32_t x, int32_t y) {
  nimbo::desk::moveCursor(x, y);
}

// The desk keeps whether the clipboard holds text, not the text itself.
void setClipboardText(const nimbo::Text&) {
  nimbo::desk::copyText();
}

void setClipboardData() {
  nimbo::desk::copyNonText();
}

}  // namespace vohost
