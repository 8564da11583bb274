// How a by-name command turns its name into the entries it addresses: every entry, the entries of one
// motion group, or none when no group has the name.
#pragma once

#include <cstdint>

#include "record/rundata.h"

namespace nimbo::motion {

struct Selection {
  enum Kind { all, group, none };
  Kind kind = none;
  int32_t groupId = -1;  // the group's MotionGroupIdentifier when kind is group

  bool selects(const ControlEntry& entry) const {
    return kind == all || (kind == group && entry.groupId == groupId);
  }
};

// An empty name selects every entry; another the entries of the first group of that name, compared
// unit for unit.
Selection selectByName(const RUNDATA* rd, const Text& name);

// The name parameter every command reads first; a null text is the empty name.
Text nameParameter(RUNDATA* rd);

// M2 under the pop-up setting: no group has the name; `word` names the command ("Stop Error" ...).
void reportUnknownName(const RUNDATA* rd, const Text& name, const Char* word);

}  // namespace nimbo::motion
