// The desktop a frame runs on: the simulated one of the desk backend on Linux, the real one on Windows,
// where a hook reads and dismisses each message box the extension shows.
#pragma once

#include <string>
#include <vector>

namespace vohost {

struct ShownMessageBox {
  std::string caption;  // UTF-8
  std::string text;
};

// The boxes shown since the last call, oldest first.
std::vector<ShownMessageBox> takeMessageBoxes();

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

}  // namespace vohost
