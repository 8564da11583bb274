// The module-wide name cache, allocated by the module's static initialisation. A buffer that fails to
// allocate stays absent; the routines that store into it allocate it then.
#include "record/fsnc.h"

#include <cstdlib>

namespace nimbo {

namespace {

// The load boxes waiting for the first instance. Constant-initialised and fixed in size: they are noted
// while memory runs short, in whatever order the module's constructors run.
struct LoadBox {
  const Char* text;
  const Char* caption;
};
constexpr int kModuleBuffers = 4;
LoadBox pendingLoadBoxes[kModuleBuffers] = {};
int pendingLoadBoxCount = 0;

}  // namespace

void allocateModuleBuffer(Char*& buffer, uint32_t& units, uint32_t bytes, const Char* text,
                          const Char* caption) {
  buffer = static_cast<Char*>(std::malloc(bytes));
  if (buffer) {
    units = bytes / sizeof(Char);
  } else if (pendingLoadBoxCount < kModuleBuffers) {
    pendingLoadBoxes[pendingLoadBoxCount++] = {text, caption};
  }
}

void showLoadFailures() {
  for (int i = 0; i < pendingLoadBoxCount; ++i) {
    platform::messageBox(pendingLoadBoxes[i].text, pendingLoadBoxes[i].caption);
  }
  pendingLoadBoxCount = 0;
}

}  // namespace nimbo

namespace nimbo::files {

FileSystemNameCache FSNC;

namespace {

constexpr Char kNameCacheMallocText[] = NIMBO_TEXT("error :: malloc failed >> PATHNAME_CACHE_SIZE");
constexpr Char kNameCacheMallocCaption[] = NIMBO_TEXT("NAME_CACHE = (LPTSTR)malloc(PATHNAME_CACHE_SIZE));");
constexpr Char kNameStackMallocText[] = NIMBO_TEXT("error :: malloc failed >> MAX_NAME_STACK_BYTESIZE");
constexpr Char kNameCacheDirMallocCaption[] =
    NIMBO_TEXT("NAME_CACHE_DIR = (LPTSTR)malloc(PATHNAME_CACHE_SIZE));");
constexpr Char kNameCacheFileMallocCaption[] =
    NIMBO_TEXT("NAME_CACHE_FILE = (LPTSTR)malloc(PATHNAME_CACHE_SIZE));");

}  // namespace

FileSystemNameCache::FileSystemNameCache() {
  allocateModuleBuffer(NAME_CACHE, NAME_CACHE_UNITS, PATHNAME_CACHE_SIZE, kNameCacheMallocText,
                       kNameCacheMallocCaption);
  allocateModuleBuffer(NAME_CACHE_DIR, NAME_CACHE_DIR_UNITS, MAX_NAME_STACK_BYTESIZE, kNameStackMallocText,
                       kNameCacheDirMallocCaption);
  allocateModuleBuffer(NAME_CACHE_FILE, NAME_CACHE_FILE_UNITS, MAX_NAME_STACK_BYTESIZE, kNameStackMallocText,
                       kNameCacheFileMallocCaption);
}

FileSystemNameCache::~FileSystemNameCache() {
  std::free(NAME_CACHE);
  std::free(NAME_CACHE_DIR);
  std::free(NAME_CACHE_FILE);
}

}  // namespace nimbo::files
