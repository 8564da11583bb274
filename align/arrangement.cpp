// The common start of the arrangement actions and the ellipse placement. A call about an object goes
// through that object's own run header, as the host requires.
#include "align/arrangement.h"

#include "align/messages.h"
#include "platform/platform.h"
#include "record/trigonometry.h"

namespace nimbo::align {

voObject* arrangedObject(RUNDATA* rd, const Char* caption) {
  voObject* object = objectParameter(rd);
  if (!object) return nullptr;
  if (!isActiveObject(object)) {
    if (rd->popupSetting == 1) platform::messageBox(kNotTheSpriteText, caption);
    return nullptr;
  }
  return object;
}

void placeOnEllipse(voObject* object, float radians, int32_t centreX, int32_t centreY, int32_t radiusX,
                    int32_t radiusY) {
  auto across = static_cast<float>(cosine(static_cast<double>(radians)));
  auto down = static_cast<float>(sine(static_cast<double>(radians)));
  placeAt(object, truncateTowardZero(static_cast<float>(centreX) + static_cast<float>(radiusX) * across),
          truncateTowardZero(static_cast<float>(centreY) + static_cast<float>(radiusY) * down));
}

}  // namespace nimbo::align
