// The process's memory from the system: /proc on Linux, the process's counters on Windows. The heap's
// own count is exact where there is one (the sanitizers' allocator, glibc), so a leak of a few bytes a
// step shows, where the resident size moves by whole pages.
#include "vohost/simhost/process_memory.h"

#ifdef _WIN32
#include <windows.h>
// windows.h first: psapi.h needs its types.
#include <psapi.h>
#else
#include <unistd.h>

#include <fstream>
#if defined(__SANITIZE_ADDRESS__)
#define VOHOST_SANITIZER_HEAP 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define VOHOST_SANITIZER_HEAP 1
#endif
#endif
#ifdef VOHOST_SANITIZER_HEAP
// The sanitizers' runtime has them; GCC ships no header for them.
extern "C" size_t __sanitizer_get_current_allocated_bytes();
extern "C" int __lsan_do_recoverable_leak_check();
#else
#include <malloc.h>
#endif
#endif

namespace vohost {

#ifdef _WIN32

std::optional<bool> unreachableBlocks() {
  return std::nullopt;
}

MemoryUse memoryUse() {
  PROCESS_MEMORY_COUNTERS counters{};
  counters.cb = sizeof counters;
  MemoryUse use;
  if (GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters))
    use.resident = counters.WorkingSetSize;
  return use;
}

#else

namespace {

uint64_t heapInUse() {
#ifdef VOHOST_SANITIZER_HEAP
  return __sanitizer_get_current_allocated_bytes();
#else
  struct mallinfo2 info = mallinfo2();
  return info.uordblks + info.hblkhd;
#endif
}

}  // namespace

std::optional<bool> unreachableBlocks() {
#ifdef VOHOST_SANITIZER_HEAP
  return __lsan_do_recoverable_leak_check() != 0;
#else
  return std::nullopt;
#endif
}

MemoryUse memoryUse() {
  MemoryUse use;
  std::ifstream statm("/proc/self/statm");
  uint64_t size = 0, pages = 0;
  if (statm >> size >> pages) use.resident = pages * static_cast<uint64_t>(sysconf(_SC_PAGESIZE));
  use.allocated = heapInUse();
  return use;
}

#endif

}  // namespace vohost
