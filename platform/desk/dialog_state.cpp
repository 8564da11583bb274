// State of the simulated dialogs, shared by the extension and the host substitute: the answer the next
// dialogs end with and the log of those shown.
#include "platform/desk/desk_dialog.h"
#include "platform/dialog.h"

namespace nimbo::desk {

namespace {

intptr_t& dialogAnswer() {
  static intptr_t answer = platform::kDialogOk;
  return answer;
}

std::vector<DialogRecord>& dialogLog() {
  static std::vector<DialogRecord> log;
  return log;
}

}  // namespace

intptr_t showDialog(unsigned resourceId, void* owner, void* parameters) {
  dialogLog().push_back({resourceId, owner, parameters});
  return dialogAnswer();
}

void setDialogAnswer(intptr_t endCode) {
  dialogAnswer() = endCode;
}

std::vector<DialogRecord> takeDialogs() {
  std::vector<DialogRecord> shown;
  shown.swap(dialogLog());
  return shown;
}

}  // namespace nimbo::desk
