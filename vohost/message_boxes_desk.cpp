// Message boxes on the simulated desktop: the extension logs them in the shared desk library.
#include "platform/desk/desk.h"
#include "vohost/message_boxes.h"
#include "vohost/utf.h"

namespace vohost {

std::vector<ShownMessageBox> takeMessageBoxes() {
  std::vector<ShownMessageBox> shown;
  for (const nimbo::desk::MessageBoxRecord& box : nimbo::desk::takeMessageBoxes()) {
    shown.push_back({toUtf8(box.caption), toUtf8(box.text)});
  }
  return shown;
}

}  // namespace vohost
