// The arrangement actions as the jump tables call them. The host calls each once per selected instance
// of its object parameter; every routine takes all its parameters with getNextParameter.
#pragma once

#include "host/exports.h"
#include "record/rundata.h"

namespace nimbo::align {

// Action 10 "Align LEFT %0 , Horizontal, Connect 2 Points": two positions, layer, margin, direction.
int32_t VO_CALL AlignConnect2Points(voHeader* header, voValue, voValue);
// Action 11 "Align LEFT %0 , Horizontal, ZigZag, ...": X, Y, margin.
int32_t VO_CALL AlignZigZag(voHeader* header, voValue, voValue);
// Action 12 "Align Vertical %0, ...": X, Y, margin.
int32_t VO_CALL AlignVertical(voHeader* header, voValue, voValue);
// Action 13 "Align Circle %0, ...": centre X, centre Y, radius.
int32_t VO_CALL AlignCircle(voHeader* header, voValue, voValue);
// Action 14 "Align GRID %0 , ...": X, Y, columns, margin X, margin Y.
int32_t VO_CALL AlignGrid(voHeader* header, voValue, voValue);

// Action 15 "Align LEFT %0 , Horizontal, LMS + Margin %1 Pixel".
int32_t VO_CALL AlignLeftLMS(voHeader* header, voValue, voValue);
// Action 16 "Align RIGHT %0 , Horizontal, LMS + Counter + Margin %1 Pixel": frames from the TEXT's digits.
int32_t VO_CALL AlignRightLMSCounter(voHeader* header, voValue, voValue);

// Action 46 "Align Semi-Circle %0 , %1 = Centre-X, Centre-Y, Rad1, Rad2, StartingAngle, SetupAngle".
int32_t VO_CALL AlignSemiCircle(voHeader* header, voValue, voValue);
// Action 47 "(obsolete) Align RHOMBUS %0 , %1 = top-X, top-Y, ...".
int32_t VO_CALL Grid_Rhombus_TBLR(voHeader* header, voValue, voValue);
// Action 48 "Align Trapezoid %0 , (Hexagonal) %1 = ...".
int32_t VO_CALL LMS_Grid_Trapezoid_LRTB(voHeader* header, voValue, voValue);
// Action 50 "Align Row Matrix Offset %0 , %1 = Row Elements , Row Offset (pixel) , ...".
int32_t VO_CALL LMS_Grid_ROWS_OFST_LRTB(voHeader* header, voValue, voValue);

}  // namespace nimbo::align
