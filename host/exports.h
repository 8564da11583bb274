/* The exported functions and jump-table routine types of an extension, as the host calls them.
 * The extension defines them; a host loads them by these plain names. Argument names say what the host
 * passes; `editData` is the instance's EDITDATA (a voEditHeader first), `rd` its runtime record. */
#ifndef NIMBO_HOST_EXPORTS_H
#define NIMBO_HOST_EXPORTS_H

#include "vohost.h"

#ifdef __cplusplus
extern "C" {
#endif

typedef int32_t(VO_CALL* voConditionRoutine)(voHeader* rd, voValue param1, voValue param2);
typedef int32_t(VO_CALL* voActionRoutine)(voHeader* rd, voValue param1, voValue param2);
typedef voValue(VO_CALL* voExpressionRoutine)(voHeader* rd, voValue hostValue);

/* X(name, return type, parameter list): every export, edit time first, in the order of the interface. */
#define VO_EDIT_EXPORTS(X)                                                                                 \
  X(GetInfos, int32_t, (int32_t query))                                                                    \
  X(CreateObject, int32_t, (voEditor * editor, void* loadInfo, void* editData))                            \
  X(EditObject, int32_t, (voEditor * editor, void* objectInfo, void* levelInfo, void* editData))           \
  X(GetObjectRect, void, (voEditor * editor, voRect * rect, void* levelObject, void* editData))            \
  X(GetObjInfos, void,                                                                                     \
    (voEditor * editor, void* editData, voChar* name, voChar* author, voChar* copyright, voChar* comment,  \
     voChar* website))                                                                                     \
  X(GetHelpFileName, const voChar*, (void))                                                                \
  X(GetActionMenu, void*, (voEditor * editor, void* objectInfo, void* editData))                           \
  X(GetConditionMenu, void*, (voEditor * editor, void* objectInfo, void* editData))                        \
  X(GetExpressionMenu, void*, (voEditor * editor, void* objectInfo, void* editData))                       \
  X(GetActionCodeFromMenu, int16_t, (voEditor * editor, int16_t menuId))                                   \
  X(GetConditionCodeFromMenu, int16_t, (voEditor * editor, int16_t menuId))                                \
  X(GetExpressionCodeFromMenu, int16_t, (voEditor * editor, int16_t menuId))                               \
  X(GetActionInfos, const int16_t*, (voEditor * editor, int16_t code))                                     \
  X(GetConditionInfos, const int16_t*, (voEditor * editor, int16_t code))                                  \
  X(GetExpressionInfos, const int16_t*, (voEditor * editor, int16_t code))                                 \
  X(GetActionString, void, (voEditor * editor, int16_t code, voChar * buffer, int16_t maximum))            \
  X(GetConditionString, void, (voEditor * editor, int16_t code, voChar * buffer, int16_t maximum))         \
  X(GetExpressionString, void, (voEditor * editor, int16_t code, voChar * buffer, int16_t maximum))        \
  X(GetActionTitle, void,                                                                                  \
    (voEditor * editor, int16_t code, int16_t param, voChar * buffer, int16_t maximum))                    \
  X(GetConditionTitle, void,                                                                               \
    (voEditor * editor, int16_t code, int16_t param, voChar * buffer, int16_t maximum))                    \
  X(GetExpressionTitle, void, (voEditor * editor, int16_t code, voChar * buffer, int16_t maximum))         \
  X(GetExpressionParam, void,                                                                              \
    (voEditor * editor, int16_t code, int16_t param, voChar * buffer, int16_t maximum))                    \
  X(GetProperties, int32_t, (voEditor * editor, void* editData, int32_t masterItem))                       \
  X(GetPropValue, void*, (voEditor * editor, void* editData, uint32_t identifier))                         \
  X(SetPropValue, void, (voEditor * editor, void* editData, uint32_t identifier, void* value))             \
  X(GetPropCheck, int32_t, (voEditor * editor, void* editData, uint32_t identifier))                       \
  X(SetPropCheck, void, (voEditor * editor, void* editData, uint32_t identifier, int32_t value))           \
  X(IsPropEnabled, int32_t, (voEditor * editor, void* editData, uint32_t identifier))                      \
  X(GetDependencies, const voChar**, (voEditor * editor, void* editData))                                  \
  X(GetFilters, int32_t, (voEditor * editor, int32_t kind, int32_t flags, void* reserved))                 \
  X(LoadObject, int32_t, (voEditor * editor, const voChar* fileName, void* editData, int32_t reserved))    \
  X(UsesFile, int32_t, (voEditor * editor, const voChar* fileName))                                        \
  X(UpdateEditStructure, int32_t, (voEditor * editor, void* oldData))                                      \
  X(Initialize, int32_t, (voEditor * editor, int32_t quiet))                                               \
  X(EditProp, int32_t, (voEditor * editor, void* editData, uint32_t identifier))                           \
  X(GetPropCreateParam, voValue, (voEditor * editor, void* editData, uint32_t identifier))                 \
  X(PutObject, void, (voEditor * editor, void* levelObject, void* editData, uint16_t count))               \
  X(RemoveObject, void, (voEditor * editor, void* levelObject, void* editData, uint16_t count))            \
  X(UpdateFileNames, void, (voEditor * editor, const voChar* gameName, void* editData, void* callback))    \
  X(ReleasePropCreateParam, void, (voEditor * editor, void* editData, uint32_t identifier, voValue param)) \
  X(GetParameterString, void,                                                                              \
    (voEditor * editor, int16_t code, void* parameterData, voChar* buffer, int16_t maximum))               \
  X(DuplicateObject, void, (voEditor * editor, void* objectInfo, void* editData))                          \
  X(EditParameter, void, (voEditor * editor, int16_t code, void* parameterData))                           \
  X(InitParameter, void, (voEditor * editor, int16_t code, void* parameterData))                           \
  X(PrepareToWriteObject, void, (voEditor * editor, void* editData, void* objectInfo))                     \
  X(ReleaseProperties, void, (voEditor * editor, void* editData, int32_t masterItem))                      \
  X(UnloadObject, void, (voEditor * editor, void* editData, int32_t reserved))                             \
  X(StartFrame, void, (voEditor * editor, uint32_t frameIndex, void* reserved))                            \
  X(EndFrame, void, (voEditor * editor, uint32_t frameIndex, void* reserved))                              \
  X(GetDebugItem, void, (voChar * buffer, voHeader * rd, int32_t identifier))

#define VO_RUN_EXPORTS(X)                                                        \
  X(GetRunObjectInfos, int16_t, (voEditor * editor, voRunInfo * info))           \
  X(GetRunObjectDataSize, uint16_t, (voRunHeader * runHeader, void* editData))   \
  X(CreateRunObject, int16_t, (voHeader * rd, void* editData, void* createInfo)) \
  X(DestroyRunObject, int16_t, (voHeader * rd, int32_t fast))                    \
  X(HandleRunObject, int16_t, (voHeader * rd))                                   \
  X(LoadRunObject, int16_t, (voHeader * rd, void* file))                         \
  X(SaveRunObject, int16_t, (voHeader * rd, void* file))                         \
  X(GetDebugTree, const uint16_t*, (voHeader * rd))                              \
  X(ContinueRunObject, int16_t, (voHeader * rd))                                 \
  X(PauseRunObject, int16_t, (voHeader * rd))                                    \
  X(DisplayRunObject, int16_t, (voHeader * rd))                                  \
  X(Free, int32_t, (void* reserved))                                             \
  X(StartApp, void, (voEditor * editor, void* application))                      \
  X(EndApp, void, (voEditor * editor, void* application))                        \
  X(EditDebugItem, void, (voHeader * rd, int32_t identifier))

#define VO_ALL_EXPORTS(X) VO_EDIT_EXPORTS(X) VO_RUN_EXPORTS(X)

/* The host's view of an export: a pointer type named voExport_<name>. */
#define VO_EXPORT_POINTER(name, ret, params) typedef ret(VO_CALL* voExport_##name) params;
VO_ALL_EXPORTS(VO_EXPORT_POINTER)
#undef VO_EXPORT_POINTER

#ifdef __cplusplus
}
#endif

#endif
