// The module's string table: object information, property texts, and the catalog's display strings and
// parameter titles. The texts are the ones designers have always seen, odd spellings included.
#include <algorithm>

#include "resources/resources.h"

namespace nimbo::resources {

namespace {

constexpr StringResource kStrings[] = {
    // The host's tag and the object's name; no routine reads them.
    {1, u"MF2"},
    {2, u"NIMBO"},
    // Object information: the name, then the maker's identification lines.
    {128, u"NIMBO"},
    {129, u"NIMBO developers"},
    {130, u"Copyright (C) NIMBO developers"},
    {131, u"Regular expressions, file listing, window control, object layouts and motions."},
    {132, u"See the help file for details."},
    // Property names and their information lines.
    {400, u"TEXT"},
    {401, u"Enter the TEXT"},
    {402, u"Force Pop up MessageBox if catch an Error. ( for Debug )"},
    {403, u"If contains Regex Error in your code or any Error occurred, raise the message box window."},
    {404, u"std::regex_constants::icase ( Case-Sensitivity )"},
    {405, u"This checkbox if checked, Not discriminates between uppercase or lowercase letters."},
    // Action display strings.
    {5000, u"Set TEXT ( %0 )"},
    {5001, u"Set Auto Position"},
    {5002, u"End Auto Position Mode"},
    {5003, u"Start Auto Position Mode"},
    {5004, u"Set PATH ( and Get the List of ) ( %0 )"},
    {5005, u"Set Window Title Bar Caption( %0 )"},
    {5006, u"Change the Name to ( %1 )"},
    {5007, u"Set Index Number Of Path History ( %0 )"},
    {5100, u"%1 Circle Menu :: Auto Follow %0"},
    {5101, u"Get All Objects Name at the Frame"},
    {5200, u"Align LEFT %0 , Horizontal, ZigZag, ( XY-Position = %1 , %2 ), X-Margin %3 Pixel"},
    {5201, u"Align Vertical %0, ( XY-Position = %1 , %2 ), Margin %3 Pixel"},
    {5202, u"Align Circle %0, ( Center-XY = %1 , %2 ), Radius %3 Pixel"},
    {5203, u"Align GRID %0 , ( Starting XY-Position = %1 , %2 ), X-Grid = %3, ( XY-Margin %4 , %5 Pixel )"},
    {5204, u"Align LEFT %0 , Horizontal, Connect 2 Points"},
    {5205, u"Align LEFT %0 , Horizontal, LMS + Margin %1 Pixel"},
    {5206, u"Align RIGHT %0 , Horizontal, LMS + Counter + Margin %1 Pixel"},
    {5250, u"%0 : Wrap at Window Width : Xspeed %1 Pixel"},
    {5251, u"%0 : Flip at Window Width : Xspeed %1 Pixel"},
    {5252, u"%0 : Wrap at Window Height : Yspeed %1 Pixel"},
    {5253, u"%0 : Flip at Window Height : Yspeed %1 Pixel"},
    {5254, u"%0 : Orbital around own XY : Radius %1 Pixel; Angular Velocity % 2 Degree"},
    {5255, u"%0 : Orbital around Target XY %1 : Radius %2 Pixel : Angular Velocity %3 Degree"},
    {5256, u"%0 : Null Motion : Motion Group Name = %1"},
    {5270, u"%0 = %1 : Wrap + Sine Wave : Xspeed %2 Pixel , Amplitude %3 Pixel , Angular Velocity %4"},
    {5271, u"%0 = %1 : Flip + Sine Wave : Xspeed %2 Pixel , Amplitude %3 Pixel , Angular Velocity %4"},
    {5272, u"%0 = %1 : Wrap + Sine Wave : Yspeed %2 Pixel , Amplitude %3 Pixel , Angular Velocity %4"},
    {5273, u"%0 = %1 : Flip + Sine Wave : Yspeed %2 Pixel , Amplitude %3 Pixel , Angular Velocity %4"},
    {5274,
     u"%0 = %1 : Orbit around own XY-Pos : %2 = Radius1, Radius2, AngularVelocity, AngleStartup, "
     u"CentreXoffset, CentreYoffset"},
    {5275,
     u"%0 = %1 : Orbit around %2 XY-Pos :  %3 = Radius1, Radius2, AngularVelocity, AngleStartup, "
     u"CentreXoffset, CentreYoffset"},
    {5295, u"%0 : Virtual Wall : Top %1"},
    {5296, u"%0 : Virtual Wall : Left %1"},
    {5297, u"%0 : Virtual Wall : Right %1"},
    {5298, u"%0 : Virtual Wall : Bottom %1"},
    {5299, u"%0 : Virtual Wall : Auto Setup %1 , %2"},
    {5300, u"%0 : STOP All"},
    {5301, u"%0 : Toggle Stop|Move Flag"},
    {5302, u"%0 : Reject from the Controll List"},
    {5303, u"%0 : Delete All"},
    {5304, u"%0 : Set Alpha-Coefficient Param = %1"},
    {5305, u"%0 : Reverse Movement"},
    {5306, u"%0 : Set Target at %1"},
    {5307, u"%0 : Sleep (Frame Time) = %1 : TimeInterval (Frame Time) = %2 : Repetition = %3"},
    {5308, u"%0 : Angle , TimeInterval , Repetition = %1"},
    {5309, u"%0 : Update Controll List"},
    {5310,
     u"%0 : Grow Radius : PARAM = %1 (MaxRad1,MinRad1,Delta1,TimeInterval1,Rep1,  "
     u"MaxR2,MinR2,Dlt2,TmItv2,Rep2)"},
    {5311, u"Align Semi-Circle %0 , %1 = Centre-X, Centre-Y, Rad1, Rad2, StartingAngle, SetupAngle"},
    {5312,
     u"(obsolete) Align RHOMBUS %0 , %1 = top-X, top-Y, Number of Array Width, offset-X (pixel), offset-Y "
     u"(pixel), option (0|1)"},
    {5313,
     u"Align Trapezoid %0 , (Hexagonal) %1 = Top & Bottom Row , Middle Row , offset-X (pixel), offset-Y "
     u"(pixel), opt1 (0|1), opt2 (0|1|2)"},
    {5314, u"Reject %0 , ( Time Delay ) %1 frame"},
    {5315,
     u"Align Row Matrix Offset %0 , %1 = Row Elements , Row Offset (pixel) , offset-X, offset-Y, R|L Dir "
     u"(0|1), T|B Dir (0|1)"},
    {5316,
     u"%0 for the Window >> ( 0 = SW_MINIMIZE , 1 = SC_MAXIMIZE | SW_RESTORE ) Toggle TaskBar >> ( 2 == "
     u"SW_HIDE | SW_SHOWNA (SW_SHOW) )"},
    {5317, u"%0 : Name of Target to move toward = %1 , Param = %2"},
    {5318, u"%0 = %1 : %3 = Name of Target, type, option"},
    // Action parameter titles.
    {5500, u"Set the TEXT to the Extension"},
    {5501, u"Enter target Directory Path"},
    {5502, u"Capition"},
    {5503, u"Enter the OLD Name"},
    {5504, u"Enter New Name"},
    {5505, u"Select Object to Get Fixed ( Only Active Object )"},
    {5506, u"Set Index Number Of Path History"},
    {5507, u"Set X-Pos ( Starting X Point )"},
    {5508, u"Set Y-Pos ( Starting Y Point )"},
    {5509, u"Set Margin Number ( pixel )"},
    {5510, u"Set Y Margin Number ( pixel )"},
    {5511, u"Set Length of Radius ( pixel )"},
    {5512, u"Set X-Grid Number ( Array )"},
    {5513, u"Set Object XY Position"},
    {5514, u"Set Layer Number"},
    {5515, u"Set Margin Pixel"},
    {5516, u"Choose Direction :: Left = 0 | Right = 1"},
    {5517, u"Select Target Object ( Only Active Object )"},
    {5518, u"Set Object Name | Motion Group Name"},
    {5519, u"Set X-Speed"},
    {5520, u"Set Amplitude ( pixel )"},
    {5521, u"Set Y-Speed"},
    {5522, u"Set Value of Alpha-Coefficient Param ( 0 ~ 255 )"},
    {5523, u"Set Angular Velocity ( Angle )"},
    {5525, u"Set Virtual Wall Position 1 ( Left | Top )"},
    {5526, u"Select Target Object ( Only Active Object )"},
    {5528,
     u"Orbital PARAMS E.g. “ 50,50,-2,0,0,0 ” >>“Rad1 , Rad2 , AngularVelocity , AngleStartup , "
     u"CentreOffset-X , CentreOffset-Y“ "},
    {5529, u"Set Sleep (Frame Time) Value to insert at motion"},
    {5530, u"Set Repeat Number"},
    {5531, u"Set Virtual Wall Position 2 ( Right | Bottom )"},
    {5532, u"Set Virtual Wall Position ( Top )"},
    {5533, u"Set Virtual Wall Position ( Left )"},
    {5534, u"Set Virtual Wall Position ( Right )"},
    {5535, u"Set Virtual Wall Position ( Bottom )"},
    {5536,
     u"Angular Rotate PARAMS E.g. “ 45,60,-1,0 ” >> “Angle( Degree ) , TimeInterval( FrameTime ) , "
     u"Repetition (0 == Stop) , MomentaryPause ( 0|1 )”"},
    {5537,
     u"Grow Rad PARAMS E.g. “ 100,20,+2,30,-1,  50,10.+2,30,-1 ” >> “Max Rad1, Minimum Rad1, Delta1, "
     u"timeinterval1, Repetition1,   MaxR2,MinR2,Dlt2,TmItv2,Rep2”"},
    {5538, u"Set Interval (Frame Time) Value after Sleep (* This function NOT work on Orbital.)"},
    {5539, u"SemiCircle PARAMS E.g. “SemiCircle Set Direction XXXX”"},
    {5540,
     u"RHOMBUS PARAMS E.g. “(3x3) Matrix  >> “ 50,50,3,10,10,0 ” “Top Xpos, Top Ypos, Grid Num, offsetX "
     u"(pixel), offsetY, AnmFram Opt (0|1)”"},
    {5541,
     u"Trapezpid PARAMS E.g. “(3x5) Matrix >> “ 3,5,0,0,0,1 ” “Top and Bottom Row, Middle Row, offsetX "
     u"(pixel), offsetY, Shape Opt (0|1|2), AnimFram Opt (0|1)”"},
    {5542, u"Set Delay ( frame time )"},
    {5543,
     u"Row Offset PARAMS E.g. “a Row in 5 Elements >> “ 5,25,2,2,0,0 ” “Elements, Row offset (pixel), "
     u"offsetX, offsetY, Left|Right(0|1), Top|Bottom(0|1)”"},
    {5544,
     u"Window Control:Alternative >> Set value ( 0 = Minimize Window | 1 = Maximize or Restore  | 2 = Show "
     u"or Hide Taskbar )"},
    {5545, u"Move toward the Named Target : Paturn >> 0 = normal, 1 = round, 2 = TEST"},
    {5546, u"Move toward the Named Target PARAM E.g. “60,0,0” “Frame, Option1, Option2”"},
    {5547, u"Set the Name of Target to move toward"},
    // Condition display strings.
    {6000, u"%o: Regex expression Error"},
    {6001, u"%o: Auto Position Mode"},
    {6002, u"%o: Directory Path ( Confirmed )"},
    {6003, u"%o: Invalid Directory Path ( Error )"},
    {6004, u"REGEX Search Partial (%1)"},
    {6005, u"REGEX Exact Match    (%1)"},
    {6006, u"%o: Regex to Mismatch ( Partial | Exact )"},
    {6007, u"%o: Detect Clipboard Change ( CF_TEXT )"},
    // Condition parameter titles.
    {6500, u"TEXT ( source )"},
    {6501, u"Regular Expression ( Partial )"},
    {6502, u"TEXT ( source )"},
    {6503, u"Regular Expression ( Exact Match )"},
    // Expression display strings.
    {7000, u"Get TEXT$("},
    {7001, u"GetRegexRepalce$("},
    {7002, u"Number of Files$("},
    {7003, u"Number of Dirs$("},
    {7004, u"FileName$("},
    {7005, u"DirName$("},
    {7006, u"GetPathFromHistory$("},
    {7007, u"RGX_TotalNumber_Match$("},
    {7008, u"RGX_SubMatch$("},
    {7009, u"MaxElementNumOfPath$("},
    {7010, u"CurrentIndexNumberOfPath$("},
    {7011, u"GetDateTimeIso8601$("},
    {7012, u"Total_MotionGrp$("},
    {7013, u"Total_Controlled$("},
    {7014, u"INFO_CtrlledList$("},
    {7015, u"INFO_MotionGroup$("},
    {7016, u"NAME_MotionGroup$("},
    {7017, u"Angle to convert CT ANIM Dirs$("},
    {7018, u"* Not Yet implemented (05C rev.4) *$("},
    // Expression parameter titles; 7510, named by expression 17, is not in the table.
    {7500, u"Enter Regex Expression"},
    {7501, u"Enter text to replace"},
    {7502, u"Enter a Number of the element"},
    {7503, u"Enter a Number of the element"},
    {7504, u"*** 0 = Current | Back = 1 ***"},
    {7505, u">> Set Number of Element in Array"},
    {7506, u"Get Number of Contorled Object"},
    {7507, u"Set NAME as Motion Group"},
    {7508, u"Get NAME from Motion Groups"},
    {7509, u"Enter Angle (dedicated for the Named Controlled Angle.)"},
};

constexpr bool idsIncreasing() {
  return std::adjacent_find(std::begin(kStrings), std::end(kStrings),
                            [](const StringResource& a, const StringResource& b) { return a.id >= b.id; }) ==
         std::end(kStrings);
}
static_assert(idsIncreasing(), "findString searches the table by halves");

}  // namespace

std::span<const StringResource> stringTable() {
  return kStrings;
}

const char16_t* findString(uint16_t id) {
  const StringResource* found =
      std::lower_bound(std::begin(kStrings), std::end(kStrings), id,
                       [](const StringResource& s, uint16_t key) { return s.id < key; });
  return found != std::end(kStrings) && found->id == id ? found->text : nullptr;
}

}  // namespace nimbo::resources
