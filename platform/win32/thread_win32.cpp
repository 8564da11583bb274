// Threads with a large stack on Windows: the stack is reserved, and committed only as it is used. A
// 32-bit game's address space is small and fragmented: where the large reservation fails, one that
// fits the job is tried before the job is refused.
#include <windows.h>

#include <algorithm>

#include "platform/platform.h"

namespace nimbo::platform {

namespace {

// A fitting stack is never smaller than this: reserving costs only address space.
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

HANDLE startThread(size_t reserveBytes, const std::function<void()>& job) {
  return CreateThread(nullptr, reserveBytes, runJob, const_cast<std::function<void()>*>(&job),
                      STACK_SIZE_PARAM_IS_A_RESERVATION, nullptr);
}

}  // namespace

// The whole large stack when the address space has room for it: the job's own estimate is measured on
// one compiler and may be short on another. When it has not, a stack twice the estimate still serves.
bool runOnLargeStack(size_t stackBytes, const std::function<void()>& job) {
  HANDLE thread = startThread(kLargeStackBytes, job);
  if (!thread && stackBytes < kLargeStackBytes / 2)
    thread = startThread(std::max(2 * stackBytes, kStackFloorBytes), job);
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
