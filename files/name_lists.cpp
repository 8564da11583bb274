// The name lists of FSNC. A buffer grows by doubling, so a large listing reallocates a few times only.
#include "files/name_lists.h"

#include <algorithm>
#include <cstdlib>
#include <limits>
#include <new>
#include <string>

namespace nimbo::files {

namespace {

// Makes room for `needed` units, keeping the content; the old buffer stays when that fails.
void reserveUnits(Char*& buffer, uint32_t& units, uint64_t needed) {
  if (needed <= units) return;
  constexpr uint64_t kMaxUnits = std::numeric_limits<uint32_t>::max() / sizeof(Char);
  if (needed > kMaxUnits) throw std::bad_alloc();
  uint64_t grown = std::min(std::max(needed, uint64_t{2} * units), kMaxUnits);
  void* moved = std::realloc(buffer, static_cast<size_t>(grown * sizeof(Char)));
  if (!moved) throw std::bad_alloc();
  buffer = static_cast<Char*>(moved);
  units = static_cast<uint32_t>(grown);
}

}  // namespace

void appendName(const NameList& list, const Text& name) {
  uint64_t start = list.ends.empty() ? 0 : list.ends.back();
  uint64_t end = start + name.size() + 1;
  reserveUnits(list.buffer, list.units, end);
  std::char_traits<Char>::copy(list.buffer + start, name.c_str(), name.size() + 1);
  list.ends.push_back(static_cast<uint32_t>(end));
}

const Char* nameAt(const NameList& list, size_t index) {
  if (index >= list.ends.size()) return nullptr;
  return list.buffer + (index == 0 ? 0 : list.ends[index - 1]);
}

const Char* cacheName(const Char* name) {
  size_t units = std::char_traits<Char>::length(name) + 1;
  reserveUnits(FSNC.NAME_CACHE, FSNC.NAME_CACHE_UNITS, units);
  std::char_traits<Char>::copy(FSNC.NAME_CACHE, name, units);
  return FSNC.NAME_CACHE;
}

}  // namespace nimbo::files
