// Creation and release of the runtime record.
#include <cassert>
#include <cstdlib>
#include <cstring>
#include <new>

#include "frame/barrier.h"
#include "frame/editdata.h"
#include "frame/exports.h"
#include "frame/routines.h"
#include "record/fsnc.h"

using namespace nimbo;

namespace {

Char* allocateUnits(size_t bytes) {
  return static_cast<Char*>(std::malloc(bytes));
}

void release(Char*& buffer) {
  std::free(buffer);
  buffer = nullptr;
}

}  // namespace

int16_t VO_CALL CreateRunObject(voHeader* header, void* editData, void*) {
  return frame::shielded([&]() -> int16_t {
    assert(header && header->hoAdRunHeader && editData);
    showLoadFailures();
    voHeader hostHeader = *header;
    RUNDATA* rd = new (header) RUNDATA();
    rd->rHo = hostHeader;
    const auto* edit = static_cast<const EDITDATA*>(editData);

    rd->popupSetting = edit->popup;
    rd->regexOptions = static_cast<int32_t>(edit->options);
    rd->clipboardCountdown = rd->rHo.hoAdRunHeader->rhApp->frameRate / 10;

    size_t length = editTextLength(edit);
    rd->sText = allocateUnits((length + 1) * sizeof(Char));
    if (rd->sText) {
      std::memcpy(rd->sText, edit->text, length * sizeof(Char));
      rd->sText[length] = 0;
    } else {
      platform::messageBox(NIMBO_TEXT("ERROR CODE #RNTIM_089"),
                           NIMBO_TEXT("Runtime >> sText::FAILED_MALLOC"));
    }

    rd->REPLACED_STR_CACHE = allocateUnits(kReplacedStrCacheBytes);
    rd->REPLACED_STR_CACHE_SIZE = rd->REPLACED_STR_CACHE ? kReplacedStrCacheBytes : 0;
    rd->SubMatchBuff = allocateUnits(kSubMatchBuffBytes);
    rd->SubMatchBuffSize = rd->SubMatchBuff ? kSubMatchBuffBytes : 0;
    rd->groupNameBuffer = allocateUnits(kGroupNameBufferBytes);
    if (!rd->REPLACED_STR_CACHE) {
      platform::messageBox(NIMBO_TEXT("ERROR CODE #RNTIM_109"),
                           NIMBO_TEXT("Runtime >> REPLACED_STR_CACHE::FAILED_MALLOC"));
    }
    if (!rd->SubMatchBuff) {
      platform::messageBox(NIMBO_TEXT("ERROR CODE #RNTIM_112"),
                           NIMBO_TEXT("Runtime >> SubMatchBuff::FAILED_MALLOC"));
    }
    return 0;
  });
}

int16_t VO_CALL DestroyRunObject(voHeader* header, int32_t) {
  return frame::shielded([&]() -> int16_t {
    assert(header);
    RUNDATA* rd = runData(header);
    release(rd->sText);
    release(rd->REPLACED_STR_CACHE);
    release(rd->SubMatchBuff);
    rd->motionGroups.clear();
    rd->motionGroups.shrink_to_fit();
    rd->controlList.clear();
    rd->controlList.shrink_to_fit();
    release(rd->groupNameBuffer);
    rd->~RUNDATA();
    return 0;
  });
}
