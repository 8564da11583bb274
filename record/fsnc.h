// FSNC, the module-wide file-system name cache: allocated when the module loads, before any instance
// exists, shared by every instance, released when the module unloads. One thread uses it. The listing
// routines of files/ fill and read it.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/platform.h"

namespace nimbo {

// Allocates a module-wide buffer of `bytes` while the module loads. On failure the buffer stays absent
// (the routines that store into it allocate it then) and the box with `text` and `caption` is noted: a box
// shown while the module loads would run inside the system's loader lock, where it can hang the host.
void allocateModuleBuffer(Char*& buffer, uint32_t& units, uint32_t bytes, const Char* text,
                          const Char* caption);

// Shows the boxes noted while the module loaded, once: the first instance's creation calls it.
void showLoadFailures();

}  // namespace nimbo

namespace nimbo::files {

constexpr uint32_t PATHNAME_CACHE_SIZE = 522;         // bytes
constexpr uint32_t MAX_NAME_STACK_BYTESIZE = 104400;  // bytes

struct FileSystemNameCache {
  FileSystemNameCache();
  ~FileSystemNameCache();
  FileSystemNameCache(const FileSystemNameCache&) = delete;
  FileSystemNameCache& operator=(const FileSystemNameCache&) = delete;

  Char* NAME_CACHE = nullptr;  // the name most recently listed or read back
  uint32_t NAME_CACHE_UNITS = 0;
  // Names of the last listing, each with its terminator, one after another. The buffers grow when a
  // listing needs more, so no name is ever lost.
  Char* NAME_CACHE_DIR = nullptr;
  uint32_t NAME_CACHE_DIR_UNITS = 0;
  Char* NAME_CACHE_FILE = nullptr;
  uint32_t NAME_CACHE_FILE_UNITS = 0;
  // For each name, the running total of units stored up to and including it.
  std::vector<uint32_t> dirEndList;
  std::vector<uint32_t> fileEndList;
};

extern FileSystemNameCache FSNC;

}  // namespace nimbo::files
