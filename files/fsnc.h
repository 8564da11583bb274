// FSNC, the module-wide file-system name cache: allocated when the module loads, before any instance
// exists, shared by every instance, released when the module unloads. One thread uses it.
#pragma once

#include <cstdint>

#include "platform/platform.h"

namespace nimbo::files {

constexpr uint32_t MAX_ELEMENT_VAL_ERROR_MESS = 500;  // bytes

struct FileSystemNameCache {
  FileSystemNameCache();
  ~FileSystemNameCache();
  FileSystemNameCache(const FileSystemNameCache&) = delete;
  FileSystemNameCache& operator=(const FileSystemNameCache&) = delete;

  Char* REPLACED_ERR = nullptr;  // converted regex error description, for the replace expression
  uint32_t REPLACED_ERR_UNITS = 0;
};

extern FileSystemNameCache FSNC;

}  // namespace nimbo::files
