// The simulated desktop: the extension logs message boxes in the shared desk library, and the desk has
// one application window, named by a token.
#include "platform/desk/desk.h"
#include "vohost/desktop.h"
#include "vohost/utf.h"

namespace vohost {

std::vector<ShownMessageBox> takeMessageBoxes() {
  std::vector<ShownMessageBox> shown;
  for (const nimbo::desk::MessageBoxRecord& box : nimbo::desk::takeMessageBoxes()) {
    shown.push_back({toUtf8(box.caption), toUtf8(box.text)});
  }
  return shown;
}

MainWindow::MainWindow(int, int) : handle_(this) {}

MainWindow::~MainWindow() = default;

}  // namespace vohost
