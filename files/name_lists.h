// The two name lists of FSNC (directories, files) and NAME_CACHE: appending a listed name, reading
// name k back, keeping the most recent name. Buffers grow to fit, so a listing never loses a name.
#pragma once

#include <cstdint>
#include <vector>

#include "record/fsnc.h"

namespace nimbo::files {

// One list of FSNC: its buffer, its capacity in units and its end list.
struct NameList {
  Char*& buffer;
  uint32_t& units;
  std::vector<uint32_t>& ends;
};

inline NameList directoryList() {
  return {FSNC.NAME_CACHE_DIR, FSNC.NAME_CACHE_DIR_UNITS, FSNC.dirEndList};
}
inline NameList fileList() {
  return {FSNC.NAME_CACHE_FILE, FSNC.NAME_CACHE_FILE_UNITS, FSNC.fileEndList};
}

// Appends `name` and its terminator. Throws std::bad_alloc when the buffer cannot grow; the names
// already stored stay.
void appendName(const NameList& list, const Text& name);

// Name `index` of the list, or null when the list holds no such name.
const Char* nameAt(const NameList& list, size_t index);

// Copies `name` into NAME_CACHE and returns it. Throws std::bad_alloc when NAME_CACHE cannot hold it.
const Char* cacheName(const Char* name);

}  // namespace nimbo::files
