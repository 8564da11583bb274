// The fixed texts of the utility routines: message-box texts and captions, the texts expression 11
// returns in place of a date, and the labels of the object-type listing. Each is used exactly as the
// system shows it.
#pragma once

#include "platform/platform.h"

namespace nimbo::util {

inline constexpr Char kZoneFailedText[] = NIMBO_TEXT("Error::GetTimeZoneInformation >> Failed");
inline constexpr Char kZoneFailedCaption[] = NIMBO_TEXT("GetDateTime_Iso8601::ERC_1533");
inline constexpr Char kZoneFailedResult[] = NIMBO_TEXT("error::TIME_ZONE_ID_INVALID::ERC_1533");
inline constexpr Char kConversionFailedText[] =
    NIMBO_TEXT("Error::SystemTimeToTzSpecificLocalTime >> Failed");
inline constexpr Char kConversionFailedCaption[] = NIMBO_TEXT("GetDateTime_Iso8601::ERC_1527");
inline constexpr Char kConversionFailedResult[] =
    NIMBO_TEXT("error::SystemTimeToTzSpecificLocalTime::ERC_1527");

inline constexpr Char kMouseKeysText[] = NIMBO_TEXT("true");
inline constexpr Char kMouseKeysCaption[] = NIMBO_TEXT("rdPtr->rHo.hoAdRunHeader->rh2.rh2MouseKeys");
inline constexpr Char kDoubleClickText[] = NIMBO_TEXT("true");
inline constexpr Char kDoubleClickCaption[] = NIMBO_TEXT("WM_LBUTTONDBLCLK");

inline constexpr Char kNameLabel[] = NIMBO_TEXT("info.oilName : ");
inline constexpr Char kNObjectsLabel[] = NIMBO_TEXT("info.oilNObjects : ");
inline constexpr Char kNumOfSelectedLabel[] = NIMBO_TEXT("info.oilNumOfSelected : ");
inline constexpr Char kCurrentOiLabel[] = NIMBO_TEXT("info.oilCurrentOi : ");
inline constexpr Char kEventCountLabel[] = NIMBO_TEXT("info.oilEventCount : ");
inline constexpr Char kEventCountORLabel[] = NIMBO_TEXT("info.oilEventCountOR : ");
inline constexpr Char kObjectLabel[] = NIMBO_TEXT("info.oilObject : ");
inline constexpr Char kNextLabel[] = NIMBO_TEXT("info.oilNext : ");
inline constexpr Char kQualifierLabel[] = NIMBO_TEXT("info.oilQualifiers[0] : ");
inline constexpr Char kTypeLabel[] = NIMBO_TEXT("info.oilType : ");
inline constexpr Char kListingSeparator[] = NIMBO_TEXT(" ++++++++++++++++++++++++++++++++++++++ ");

}  // namespace nimbo::util
