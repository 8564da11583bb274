// The module-wide name cache, allocated by the module's static initialisation. A buffer that fails to
// allocate stays absent; the routines that store into it allocate it then.
#include "files/fsnc.h"

#include <cstdlib>

#include "files/messages.h"

namespace nimbo::files {

FileSystemNameCache FSNC;

namespace {

void allocate(Char*& buffer, uint32_t& units, uint32_t bytes, const Char* text, const Char* caption) {
  buffer = static_cast<Char*>(std::malloc(bytes));
  if (buffer) {
    units = bytes / sizeof(Char);
  } else {
    platform::messageBox(text, caption);
  }
}

}  // namespace

FileSystemNameCache::FileSystemNameCache() {
  allocate(REPLACED_ERR, REPLACED_ERR_UNITS, MAX_ELEMENT_VAL_ERROR_MESS, kReplacedErrMallocText,
           kReplacedErrMallocCaption);
  allocate(NAME_CACHE, NAME_CACHE_UNITS, PATHNAME_CACHE_SIZE, kNameCacheMallocText, kNameCacheMallocCaption);
  allocate(NAME_CACHE_DIR, NAME_CACHE_DIR_UNITS, MAX_NAME_STACK_BYTESIZE, kNameStackMallocText,
           kNameCacheDirMallocCaption);
  allocate(NAME_CACHE_FILE, NAME_CACHE_FILE_UNITS, MAX_NAME_STACK_BYTESIZE, kNameStackMallocText,
           kNameCacheFileMallocCaption);
}

FileSystemNameCache::~FileSystemNameCache() {
  std::free(REPLACED_ERR);
  std::free(NAME_CACHE);
  std::free(NAME_CACHE_DIR);
  std::free(NAME_CACHE_FILE);
}

}  // namespace nimbo::files
