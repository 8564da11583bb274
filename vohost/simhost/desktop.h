// The desktop a frame runs on: the simulated one of the desk backend on Linux, the real one on Windows,
// where a hook reads and dismisses each message box the extension shows.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "vohost/scenes/trace.h"

namespace vohost {

// The boxes shown since the last call, oldest first.
std::vector<ShownMessageBox> takeMessageBoxes();

// How the user answers the dialogs the extension shows from now on: OK (the start) or the Escape key.
enum class DialogAnswer { ok, escape };
void answerDialogsWith(DialogAnswer answer);

// The application's main window while a frame runs, with the frame's size.
class MainWindow {
 public:
  MainWindow(int width, int height);
  ~MainWindow();
  MainWindow(const MainWindow&) = delete;
  MainWindow& operator=(const MainWindow&) = delete;

  void* handle() const { return handle_; }

 private:
  void* handle_;
};

DeskState deskState(const MainWindow& window);

// The user's hand: moves the cursor, copies a text, or copies content that is not text.
void moveCursor(int32_t x, int32_t y);
void setClipboardText(const nimbo::Text& text);
void setClipboardData();

}  // namespace vohost
