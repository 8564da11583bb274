// The module-wide name cache, allocated by the module's static initialisation.
#include "files/fsnc.h"

#include <cstdlib>

namespace nimbo::files {

FileSystemNameCache FSNC;

FileSystemNameCache::FileSystemNameCache() {
  REPLACED_ERR = static_cast<Char*>(std::malloc(MAX_ELEMENT_VAL_ERROR_MESS));
  if (REPLACED_ERR) {
    REPLACED_ERR_UNITS = MAX_ELEMENT_VAL_ERROR_MESS / sizeof(Char);
  } else {
    platform::messageBox(NIMBO_TEXT("error :: malloc failed >> MAX_ELEMENT_VAL_ERROR_MESS"),
                         NIMBO_TEXT("REPLACED_ERR = (LPTSTR)malloc(MAX_ELEMENT_VAL_ERROR_MESS));"));
  }
}

FileSystemNameCache::~FileSystemNameCache() {
  std::free(REPLACED_ERR);
}

}  // namespace nimbo::files
