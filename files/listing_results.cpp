// What the last listing left: the outcome conditions, the counts and the names. The counts are the
// instance's own while the names are module-wide, so a name is read only when both hold it.
#include <cassert>
#include <cstdint>
#include <new>

#include "files/messages.h"
#include "files/name_lists.h"
#include "files/routines.h"
#include "record/host_access.h"

namespace nimbo::files {

namespace {

// Another instance's later listing may hold fewer names than this instance's count.
voValue nameResult(RUNDATA* rd, const NameList& list, int32_t count, voValue hostValue) {
  auto element = static_cast<int32_t>(firstExpressionParameter(rd, VO_EXPRESSION_INTEGER, hostValue));
  const Char* name = element < 0 || element >= count ? nullptr : nameAt(list, static_cast<size_t>(element));
  if (!name) return stringResult(rd, kOutOfRangeResult);
  try {
    return stringResult(rd, cacheName(name));
  } catch (const std::bad_alloc&) {
    return stringResult(rd, kEmpty);
  }
}

}  // namespace

int32_t VO_CALL DirectoryPathConfirmed(voHeader* header, voValue, voValue) {
  assert(header);
  return runData(header)->pathConfirmed;
}

int32_t VO_CALL InvalidDirectoryPath(voHeader* header, voValue, voValue) {
  assert(header);
  return runData(header)->pathInvalid;
}

voValue VO_CALL NumberOfFiles(voHeader* header, voValue) {
  assert(header);
  return runData(header)->fileCount;
}

voValue VO_CALL NumberOfDirs(voHeader* header, voValue) {
  assert(header);
  return runData(header)->dirCount;
}

voValue VO_CALL FileName(voHeader* header, voValue hostValue) {
  assert(header);
  RUNDATA* rd = runData(header);
  return nameResult(rd, fileList(), rd->fileCount, hostValue);
}

voValue VO_CALL DirName(voHeader* header, voValue hostValue) {
  assert(header);
  RUNDATA* rd = runData(header);
  return nameResult(rd, directoryList(), rd->dirCount, hostValue);
}

}  // namespace nimbo::files
