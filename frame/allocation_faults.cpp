// Test builds only: makes a chosen allocation of the extension's own code fail, so a test sees what a
// routine does when memory runs out. The module is linked with the linker's --wrap for every allocation
// function it calls, which sends those calls here; a build without NIMBO_ALLOCATION_FAULTS has neither
// this file nor the wrapping, and the Windows build refuses the option.
#include <cstdint>
#include <cstdlib>
#include <new>

#include "frame/exports.h"

// The control block vohost reaches through NimboAllocationFaultControl; vohost declares the same layout.
struct NimboAllocationFaults {
  int32_t armed;      // 1: allocations are counted, and the failAt-th one counted fails
  uint64_t failAt;    // 1-based; 0 fails none by count
  uint64_t failOver;  // an allocation of more bytes fails, armed or not; 0 fails none by size
  uint64_t counted;   // allocations counted while armed
  uint64_t failed;    // allocations failed
};

namespace {

// Constant-initialised, so it holds before the module's first constructor allocates.
NimboAllocationFaults control{};
bool environmentRead = false;

// A size limit from the environment reaches the allocations the module makes while it loads, before
// anyone could call the control function.
void readEnvironment() {
  if (environmentRead) return;
  environmentRead = true;
  if (const char* over = std::getenv("NIMBO_FAIL_ALLOCATIONS_OVER"))
    control.failOver = std::strtoull(over, nullptr, 10);
}

bool fails(size_t bytes) {
  readEnvironment();
  bool fail = control.failOver != 0 && bytes > control.failOver;
  if (control.armed) fail = ++control.counted == control.failAt || fail;
  if (fail) ++control.failed;
  return fail;
}

}  // namespace

extern "C" NIMBO_EXPORT NimboAllocationFaults* NimboAllocationFaultControl() {
  return &control;
}

extern "C" {
void* __real_malloc(size_t bytes);
void* __real_calloc(size_t count, size_t bytes);
void* __real_realloc(void* block, size_t bytes);
void* __real__Znwm(size_t bytes);
void* __real__Znam(size_t bytes);
void* __real__ZnwmSt11align_val_t(size_t bytes, std::align_val_t alignment);
void* __real__ZnamSt11align_val_t(size_t bytes, std::align_val_t alignment);

void* __wrap_malloc(size_t bytes) {
  return fails(bytes) ? nullptr : __real_malloc(bytes);
}
void* __wrap_calloc(size_t count, size_t bytes) {
  return fails(count * bytes) ? nullptr : __real_calloc(count, bytes);
}
void* __wrap_realloc(void* block, size_t bytes) {
  return fails(bytes) ? nullptr : __real_realloc(block, bytes);
}
void* __wrap__Znwm(size_t bytes) {
  if (fails(bytes)) throw std::bad_alloc();
  return __real__Znwm(bytes);
}
void* __wrap__Znam(size_t bytes) {
  if (fails(bytes)) throw std::bad_alloc();
  return __real__Znam(bytes);
}
void* __wrap__ZnwmSt11align_val_t(size_t bytes, std::align_val_t alignment) {
  if (fails(bytes)) throw std::bad_alloc();
  return __real__ZnwmSt11align_val_t(bytes, alignment);
}
void* __wrap__ZnamSt11align_val_t(size_t bytes, std::align_val_t alignment) {
  if (fails(bytes)) throw std::bad_alloc();
  return __real__ZnamSt11align_val_t(bytes, alignment);
}
}
