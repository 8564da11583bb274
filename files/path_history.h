// The per-instance path history: up to 10 listed directories, oldest first, and the index of the
// current one (-1 while the history is empty). Set PATH moves through it; the rename reads it.
#pragma once

#include <cstddef>

#include "record/rundata.h"

namespace nimbo::files {

constexpr size_t kHistoryCapacity = 10;

// Before a listing: true when `path` is the current entry or the one after it (the index then moves
// onto it); otherwise the entries after the current one are dropped. With a history, the counts and
// flags read -1 while the listing is under way.
bool findInHistory(RUNDATA* rd, const Text& path);

// Appends `path` as the current entry, dropping the oldest when the history is full.
void recordInHistory(RUNDATA* rd, const Text& path);

}  // namespace nimbo::files
