// Threads with a large stack on Windows: the stack is reserved, and committed only as it is used. Only
// what the job needs is reserved: a 32-bit game's address space is small and fragmented, and a fixed
// large reservation could fail where a fitting one succeeds.
#include <windows.h>

#include <algorithm>

#include "platform/platform.h"

namespace nimbo::platform {

namespace {

// Small jobs still get a roomy stack: reserving costs only address space.
constexpr size_t kStackFloorBytes = size_t{8} << 20;

DWORD WINAPI runJob(LPVOID job) {
  (*static_cast<const std::function<void()>*>(job))();
  return 0;
}

// The lowest address of the calling thread's stack reservation, asked of the memory manager so the
// module loads on every Windows version the host runs on.
uintptr_t stackLowest() {
  MEMORY_BASIC_INFORMATION region;
  char here = 0;
  if (VirtualQuery(&here, &region, sizeof region) != sizeof region) return 0;
  return reinterpret_cast<uintptr_t>(region.AllocationBase);
}

}  // namespace

bool runOnLargeStack(size_t stackBytes, const std::function<void()>& job) {
  size_t reserve = std::clamp(stackBytes, kStackFloorBytes, kLargeStackBytes);
  HANDLE thread = CreateThread(nullptr, reserve, runJob, const_cast<std::function<void()>*>(&job),
                               STACK_SIZE_PARAM_IS_A_RESERVATION, nullptr);
  if (!thread) return false;
  WaitForSingleObject(thread, INFINITE);
  CloseHandle(thread);
  return true;
}

size_t stackRoom() {
  thread_local const uintptr_t low = stackLowest();
  char here = 0;
  auto position = reinterpret_cast<uintptr_t>(&here);
  return low == 0 || position <= low ? 0 : position - low;
}

}  // namespace nimbo::platform
