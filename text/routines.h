// The routines of the TEXT and the regexes, as the jump tables call them, and what they share.
#pragma once

#include "host/exports.h"
#include "record/rundata.h"

namespace nimbo::text {

// Action 0 "Set TEXT ( %0 )": param1 is the new text.
int32_t VO_CALL SetTEXT(voHeader* header, voValue newText, voValue);

// Condition 0 "%o: Regex expression Error".
int32_t VO_CALL RegexExpressionError(voHeader* header, voValue, voValue);
// Condition 4 "REGEX Search Partial (%1)".
int32_t VO_CALL RegexSearchPartial(voHeader* header, voValue source, voValue pattern);
// Condition 5 "REGEX Exact Match    (%1)": on a full match the TEXT is rebuilt from the groups.
int32_t VO_CALL RGXMatchFullSETMXVal(voHeader* header, voValue source, voValue pattern);
// Condition 6 "%o: Regex to Mismatch ( Partial | Exact )".
int32_t VO_CALL RegexToMismatch(voHeader* header, voValue, voValue);

// Expression 0 "Get TEXT$(".
voValue VO_CALL GetTEXT(voHeader* header, voValue hostValue);
// Expression 1 "GetRegexRepalce$(": pattern, then replacement format.
voValue VO_CALL GetRegexReplace(voHeader* header, voValue hostValue);
// Expression 7 "RGX_TotalNumber_Match$(".
voValue VO_CALL RGX_TotalNumber_Match(voHeader* header, voValue hostValue);
// Expression 8 "RGX_SubMatch$(": element number.
voValue VO_CALL RGX_SubMatch(voHeader* header, voValue hostValue);

// Writes `text` (null reads as empty) into the TEXT: into a new buffer of its size when it is longer
// than the current TEXT, else into the current buffer. False, with the TEXT as it was, when that
// allocation failed; the caller reports it.
bool storeTEXT(RUNDATA* rd, const Char* text);

// Replaces the TEXT with `built` in a new buffer of its length; false, with the TEXT as it was, when
// the allocation failed (the box has been shown).
bool replaceTEXT(RUNDATA* rd, const Text& built);

// The matched text of sub-match `index` of the last exact match, read in the kept copy of its source;
// empty for an unmatched sub-match or one past the last.
Text subMatchText(const RUNDATA* rd, size_t index);

// Regexes are case-insensitive only when the options word is exactly the icase check box.
inline bool ignoresCase(const RUNDATA* rd) {
  return rd->regexOptions == 2;
}

}  // namespace nimbo::text
