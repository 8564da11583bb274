// State of the simulated desktop, shared by the extension and the host substitute.
#include "platform/desk/desk.h"

namespace nimbo::desk {

namespace {
std::vector<MessageBoxRecord>& messageLog() {
  static std::vector<MessageBoxRecord> log;
  return log;
}
}  // namespace

void showMessageBox(const Char* text, const Char* caption) {
  messageLog().push_back({caption ? Text(caption) : Text(), text ? Text(text) : Text()});
}

std::vector<MessageBoxRecord> takeMessageBoxes() {
  std::vector<MessageBoxRecord> shown;
  shown.swap(messageLog());
  return shown;
}

}  // namespace nimbo::desk
