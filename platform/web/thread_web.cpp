// The browser build's stack: no threads, so a job runs on the main stack, which the link sizes
// (kLargeStackBytes). The stack lives in the module's memory with nothing below it to stop an overflow,
// so a job that may not fit is refused, never started.
#include <emscripten/stack.h>

#include "platform/platform.h"

namespace nimbo::platform {

bool runOnLargeStack(size_t stackBytes, const std::function<void()>& job) {
  if (stackBytes > stackRoom()) return false;
  job();
  return true;
}

size_t stackRoom() {
  uintptr_t position = emscripten_stack_get_current();
  uintptr_t end = emscripten_stack_get_end();
  return position <= end ? 0 : position - end;
}

}  // namespace nimbo::platform
