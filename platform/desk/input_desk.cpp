// The input services on the simulated desktop: what the host substitute has pressed.
#include "platform/desk/desk_input.h"
#include "platform/input.h"

namespace nimbo::platform {

bool keyDown(int virtualKey) {
  return desk::isKeyDown(virtualKey);
}

bool doubleClickPending() {
  return desk::isDoubleClickPending();
}

}  // namespace nimbo::platform
