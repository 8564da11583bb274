// How much memory the running process holds: what a long run watches to see that nothing grows.
#pragma once

#include <cstdint>
#include <optional>

namespace vohost {

struct MemoryUse {
  uint64_t resident = 0;              // bytes of the process in physical memory
  std::optional<uint64_t> allocated;  // bytes handed out by the heap and not yet freed, where it tells
};

MemoryUse memoryUse();

// Whether the leak checker finds heap blocks that nothing points to any more (it reports them on
// stderr); nullopt where the build has no leak checker.
std::optional<bool> unreachableBlocks();

}  // namespace vohost
