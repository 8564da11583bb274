// The routines of the directory listing, the path history and the rename, as the jump tables call them.
#pragma once

#include "host/exports.h"
#include "record/rundata.h"

namespace nimbo::files {

// Action 4 "Set PATH ( and Get the List of ) ( %0 )": param1 is the directory path.
int32_t VO_CALL SetPATH(voHeader* header, voValue path, voValue);
// Action 6 "Change the Name to ( %1 )": param1 is the old name, param2 the new one.
int32_t VO_CALL ChangeTheName(voHeader* header, voValue oldName, voValue newName);
// Action 7 "Set Index Number Of Path History ( %0 )": param1 is the index.
int32_t VO_CALL SetIndexNumberOfPathHistory(voHeader* header, voValue index, voValue);

// Condition 2 "%o: Directory Path ( Confirmed )".
int32_t VO_CALL DirectoryPathConfirmed(voHeader* header, voValue, voValue);
// Condition 3 "%o: Invalid Directory Path ( Error )".
int32_t VO_CALL InvalidDirectoryPath(voHeader* header, voValue, voValue);

// Expression 2 "Number of Files$(".
voValue VO_CALL NumberOfFiles(voHeader* header, voValue hostValue);
// Expression 3 "Number of Dirs$(".
voValue VO_CALL NumberOfDirs(voHeader* header, voValue hostValue);
// Expression 4 "FileName$(": element number.
voValue VO_CALL FileName(voHeader* header, voValue hostValue);
// Expression 5 "DirName$(": element number.
voValue VO_CALL DirName(voHeader* header, voValue hostValue);
// Expression 6 "GetPathFromHistory$(": offset from the current index.
voValue VO_CALL GetPathFromHistory(voHeader* header, voValue hostValue);
// Expression 9 "MaxElementNumOfPath$(".
voValue VO_CALL MaxElementNumOfPath(voHeader* header, voValue hostValue);
// Expression 10 "CurrentIndexNumberOfPath$(".
voValue VO_CALL CurrentIndexNumberOfPath(voHeader* header, voValue hostValue);

}  // namespace nimbo::files
