// State of the simulated keyboard and mouse queue, shared by the extension and the host substitute.
#include <bitset>

#include "platform/desk/desk_input.h"

namespace nimbo::desk {

namespace {
constexpr size_t kVirtualKeys = 256;

struct InputState {
  std::bitset<kVirtualKeys> keys;
  bool doubleClick = false;
};

InputState& state() {
  static InputState input;
  return input;
}

bool isVirtualKey(int virtualKey) {
  return virtualKey >= 0 && static_cast<size_t>(virtualKey) < kVirtualKeys;
}
}  // namespace

void setKeyDown(int virtualKey, bool down) {
  if (isVirtualKey(virtualKey)) state().keys.set(static_cast<size_t>(virtualKey), down);
}

bool isKeyDown(int virtualKey) {
  return isVirtualKey(virtualKey) && state().keys.test(static_cast<size_t>(virtualKey));
}

void setDoubleClickPending(bool pending) {
  state().doubleClick = pending;
}

bool isDoubleClickPending() {
  return state().doubleClick;
}

}  // namespace nimbo::desk
