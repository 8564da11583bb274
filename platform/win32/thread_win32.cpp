// Threads with a large stack on Windows: the stack is reserved, and committed only as it is used.
#include <windows.h>

#include "platform/platform.h"

namespace nimbo::platform {

namespace {
DWORD WINAPI runJob(LPVOID job) {
  (*static_cast<const std::function<void()>*>(job))();
  return 0;
}
}  // namespace

bool runOnLargeStack(const std::function<void()>& job) {
  HANDLE thread = CreateThread(nullptr, kLargeStackBytes, runJob, const_cast<std::function<void()>*>(&job),
                               STACK_SIZE_PARAM_IS_A_RESERVATION, nullptr);
  if (!thread) return false;
  WaitForSingleObject(thread, INFINITE);
  CloseHandle(thread);
  return true;
}

size_t stackRoom() {
  ULONG_PTR low = 0, high = 0;
  GetCurrentThreadStackLimits(&low, &high);
  char here = 0;
  auto position = reinterpret_cast<ULONG_PTR>(&here);
  return position <= low ? 0 : position - low;
}

}  // namespace nimbo::platform
