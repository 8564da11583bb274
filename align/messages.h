// The fixed texts of the arrangement actions: message-box texts and captions, used exactly as the
// system shows them.
#pragma once

#include "platform/platform.h"

namespace nimbo::align {

inline constexpr Char kNotTheSpriteText[] = NIMBO_TEXT("Selected Objects Not the Sprite");
inline constexpr Char kObjectAlignCaption[] = NIMBO_TEXT("ObjectAlign:: Notification");
inline constexpr Char kObjectControlCaption[] = NIMBO_TEXT("ObjectControl :: Notification");

}  // namespace nimbo::align
