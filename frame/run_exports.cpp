// The run-time exports other than the record's life cycle: identity, sizes and the host's hooks.
#include "frame/barrier.h"
#include "frame/editdata.h"
#include "frame/exports.h"
#include "frame/routines.h"

using namespace nimbo;

namespace {

constexpr uint32_t kRunFlags = 0x180;
constexpr uint8_t kWindowProcPriority = 100;
constexpr uint32_t kIdentifier = ('N' << 24) | ('M' << 16) | ('B' << 8) | 'O';
constexpr int16_t kVersion = 1;

}  // namespace

int16_t VO_CALL GetRunObjectInfos(voEditor*, voRunInfo* info) {
  return frame::shielded([&]() -> int16_t {
    info->conditions = const_cast<voConditionRoutine*>(frame::conditionRoutines.data());
    info->actions = const_cast<voActionRoutine*>(frame::actionRoutines.data());
    info->expressions = const_cast<voExpressionRoutine*>(frame::expressionRoutines.data());
    info->conditionCount = frame::kConditionCount;
    info->actionCount = frame::kActionCount;
    info->expressionCount = frame::kExpressionCount;
    info->editDataSize = kEditDataSize;
    info->flags = kRunFlags;
    info->windowProcPriority = kWindowProcPriority;
    info->flags2 = 0;
    info->identifier = kIdentifier;
    info->version = kVersion;
    return 1;
  });
}

uint16_t VO_CALL GetRunObjectDataSize(voRunHeader*, void*) {
  return kRunDataSize;
}

int16_t VO_CALL LoadRunObject(voHeader*, void*) {
  return 1;
}
int16_t VO_CALL SaveRunObject(voHeader*, void*) {
  return 1;
}

// No debugger items: the list holds only its end marker.
const uint16_t* VO_CALL GetDebugTree(voHeader*) {
  static const uint16_t tree[] = {0xFFFF};
  return tree;
}

int16_t VO_CALL ContinueRunObject(voHeader*) {
  return 0;
}
int16_t VO_CALL PauseRunObject(voHeader*) {
  return 0;
}
int16_t VO_CALL DisplayRunObject(voHeader*) {
  return 0;
}
int32_t VO_CALL Free(void*) {
  return 0;
}
void VO_CALL StartApp(voEditor*, void*) {}
void VO_CALL EndApp(voEditor*, void*) {}
void VO_CALL EditDebugItem(voHeader*, int32_t) {}
