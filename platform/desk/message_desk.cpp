// Message boxes on the simulated desktop: logged, dismissed at once.
#include "platform/desk/desk.h"
#include "platform/platform.h"

namespace nimbo::platform {

void messageBox(const Char* text, const Char* caption) {
  desk::showMessageBox(text, caption);
}

}  // namespace nimbo::platform
