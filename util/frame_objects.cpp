// Action 9 lists the frame's object types into the TEXT; action 8 is a test action that copies the
// mouse keys into an object and nudges it with the arrow keys, never waiting for input.
#include <algorithm>
#include <cassert>
#include <cstdint>
#include <iterator>
#include <string>

#include "platform/input.h"
#include "record/host_access.h"
#include "text/routines.h"
#include "util/messages.h"
#include "util/routines.h"

namespace nimbo::util {

namespace {
constexpr uint8_t kMouseKeyBit7 = 0x80;
constexpr int32_t kNudgePixels = 5;

// Entries are VO_OBJINFO_STRIDE bytes apart, whatever the compiler makes of the record.
const voObjInfo* objInfoAt(const voObjInfo* first, int32_t index) {
  return reinterpret_cast<const voObjInfo*>(reinterpret_cast<const uint8_t*>(first) +
                                            static_cast<size_t>(index) * VO_OBJINFO_STRIDE);
}

void appendLine(Text& out, const Char* label, int32_t value) {
  out += label;
  out += decimal(value);
  out.push_back(NIMBO_TEXT('\n'));
}

// The name field need not hold a terminator: it is read up to its end at most.
void appendName(Text& out, const voObjInfo& info) {
  const Char* name = reinterpret_cast<const Char*>(info.oilName);
  out += kNameLabel;
  out.append(name, std::find(name, name + std::size(info.oilName), Char{0}));
  out.push_back(NIMBO_TEXT('\n'));
}

void appendEntry(Text& out, const voObjInfo& info) {
  appendName(out, info);
  appendLine(out, kNObjectsLabel, info.oilNObjects);
  appendLine(out, kNumOfSelectedLabel, info.oilNumOfSelected);
  appendLine(out, kCurrentOiLabel, info.oilCurrentOi);
  appendLine(out, kEventCountLabel, info.oilEventCount);
  appendLine(out, kEventCountORLabel, info.oilEventCountOR);
  appendLine(out, kObjectLabel, info.oilObject);
  appendLine(out, kNextLabel, info.oilNext);
  appendLine(out, kQualifierLabel, info.oilQualifiers[0]);
  appendLine(out, kTypeLabel, info.oilType);
  out += kListingSeparator;
  out.push_back(NIMBO_TEXT('\n'));
}

// The run header's last entry is left out of the listing.
Text objectTypeListing(const voRunHeader& run) {
  Text listing;
  if (!run.rhOiList) return listing;
  for (int32_t i = 0; i < run.rhNumberOi - 1; ++i) appendEntry(listing, *objInfoAt(run.rhOiList, i));
  return listing;
}

void nudgeLeft(RUNDATA* rd, voObject* object) {
  object->rHo.hoX -= kNudgePixels;
  redraw(services(rd), object);
}
}  // namespace

// A failed allocation leaves the TEXT as it was, without a box.
int32_t VO_CALL GetAllObjectsNameAtTheFrame(voHeader* header, voValue, voValue) {
  assert(header);
  RUNDATA* rd = runData(header);
  const Text listing = objectTypeListing(*rd->rHo.hoAdRunHeader);
  text::storeTEXT(rd, listing.c_str());
  return 0;
}

// Only the first object parameter is taken. A double click is looked at, not taken from the queue, so
// the frame never waits and the host handles the message once.
int32_t VO_CALL CircleMenuAutoFollow(voHeader* header, voValue, voValue) {
  assert(header);
  RUNDATA* rd = runData(header);
  voObject* object = objectParameter(rd);
  if (!isActiveObject(object)) return 0;
  uint8_t mouseKeys = rd->rHo.hoAdRunHeader->rh2MouseKeys;
  writeValue(object, kValueA, mouseKeys);
  if (mouseKeys & kMouseKeyBit7) platform::messageBox(kMouseKeysText, kMouseKeysCaption);
  if (platform::keyDown(platform::kKeyLeft) && platform::keyDown(platform::kKeyDown)) nudgeLeft(rd, object);
  if (platform::doubleClickPending()) platform::messageBox(kDoubleClickText, kDoubleClickCaption);
  return 0;
}

}  // namespace nimbo::util
