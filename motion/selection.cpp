// The selection of the by-name commands.
#include "motion/selection.h"

#include "motion/messages.h"
#include "motion/registry.h"
#include "platform/platform.h"
#include "record/host_access.h"

namespace nimbo::motion {

Selection selectByName(const RUNDATA* rd, const Text& name) {
  if (name.empty()) return {Selection::all};
  int32_t group = findGroup(rd, name);
  if (group == kNoGroup) return {Selection::none};
  return {Selection::group, group};
}

Text nameParameter(RUNDATA* rd) {
  const Char* name = textParameter(rd);
  return name ? Text(name) : Text();
}

void reportUnknownName(const RUNDATA* rd, const Text& name, const Char* word) {
  if (rd->popupSetting != 1) return;
  platform::messageBox((kUnknownNameText + name).c_str(), (kUnknownNameCaption + Text(word)).c_str());
}

}  // namespace nimbo::motion
