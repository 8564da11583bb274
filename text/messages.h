// The fixed texts of the TEXT and regex routines: message-box texts and captions, and the texts the
// expressions return in place of a result. Each is used exactly as the system shows it.
#pragma once

#include "platform/platform.h"

namespace nimbo::text {

// Captions of the boxes whose text is a regex error's narrow description.
inline constexpr char kInfoCaption[] = "INFO";
inline constexpr char kMatchErrorCaption[] = "regex_error::RGXMatchFullSETMXVal";

inline constexpr Char kSetTextMallocText[] = NIMBO_TEXT("ERROR CODE #ST407");
inline constexpr Char kSetTextMallocCaption[] = NIMBO_TEXT("SetTEXT::FAILED_MALLOC");
inline constexpr Char kRebuildMallocText[] = NIMBO_TEXT("ERROR CODE #TSFT957");
inline constexpr Char kRebuildMallocCaption[] = NIMBO_TEXT("RGXMatchFullSETMXVal::FAILED_MALLOC");
inline constexpr Char kTypeA21Text[] = NIMBO_TEXT("Smart Delimiter type A.2.1 >> Condition if (d == 1)");
inline constexpr Char kTypeA21Caption[] = NIMBO_TEXT("REGEX Match::RGXMatchFullSETMXVal >> if TRUE");

inline constexpr Char kEmptyReplaceText[] = NIMBO_TEXT("NULL | 空のデータ");
inline constexpr Char kEmptyReplaceCaption[] = NIMBO_TEXT("INFO if NULL");
inline constexpr Char kCacheGrowthText[] = NIMBO_TEXT("(ts.size() + 1) * sizeof(TCHAR)  = ");
inline constexpr Char kCacheGrowthCaption[] = NIMBO_TEXT(":: Message :: GetRegexReplace Function :: ER2264");
inline constexpr Char kCacheMallocText[] = NIMBO_TEXT("ERROR CODE #M_GRR_1085");
inline constexpr Char kCacheMallocCaption[] = NIMBO_TEXT("FAILED_MALLOC::REPLACED_STR_CACHE::");
inline constexpr Char kCacheMallocResult[] = NIMBO_TEXT("ERROR CODE #M_GRR_1085::FAILED_MALLOC");
inline constexpr Char kCacheCopyText[] = NIMBO_TEXT("ERROR CODE #M_GRR_1096");
inline constexpr Char kCacheCopyCaption[] = NIMBO_TEXT("FAILED COPY::REPLACED_STR_CACHE::");
inline constexpr Char kCacheCopyResult[] = NIMBO_TEXT("ERROR CODE #M_GRR_1096::FAILED COPY");

inline constexpr Char kNoSubmatchResult[] = NIMBO_TEXT("WARNING M_GRME_1336 #case(0|1|2) >> No Submatch <<");
inline constexpr Char kSubMatchMallocText[] = NIMBO_TEXT("ERROR CODE #M_GRME_1357");
inline constexpr Char kSubMatchMallocCaption[] = NIMBO_TEXT("FAILED_MALLOC::SubMatchBuff::");
inline constexpr Char kSubMatchMallocResult[] = NIMBO_TEXT("ERROR CODE #M_GRME_1357 >> FAILED_MALLOC");
inline constexpr Char kSubMatchCopyText[] = NIMBO_TEXT("Error::_tcscpy_s >> Copy Failed");
inline constexpr Char kSubMatchCopyCaption[] = NIMBO_TEXT("rdPtr->REPLACED_STR_CACHE");
inline constexpr Char kSubMatchCopyResult[] = NIMBO_TEXT("tchar copy Error");

// REPLACED_ERR's allocation failure at load.
inline constexpr Char kReplacedErrMallocText[] =
    NIMBO_TEXT("error :: malloc failed >> MAX_ELEMENT_VAL_ERROR_MESS");
inline constexpr Char kReplacedErrMallocCaption[] =
    NIMBO_TEXT("REPLACED_ERR = (LPTSTR)malloc(MAX_ELEMENT_VAL_ERROR_MESS));");

inline constexpr Char kErrorTextMallocText[] = NIMBO_TEXT("ERROR CODE #M_CCT_1474");
inline constexpr Char kErrorTextMallocCaption[] = NIMBO_TEXT("FAILED_MALLOC::FSNC.REPLACED_ERR::");
inline constexpr Char kErrorTextMallocResult[] =
    NIMBO_TEXT("ERROR CODE #M_CCT_1474 >> FAILED_MALLOC::FSNC.REPLACED_ERR::");

}  // namespace nimbo::text
