/* The host's view of the extension, in plain C: what the host calls and how, written from the interface
 * and not from the extension's own headers, so a layout or calling-convention fault of ours shows here.
 * On 32-bit x86 every export, routine and service is stdcall and every property value slot thiscall;
 * elsewhere both are the platform's C convention. */
#ifndef NIMBO_TESTS_HOST_VIEW_H
#define NIMBO_TESTS_HOST_VIEW_H

#include <stddef.h>
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

#if defined(_WIN32) && defined(__i386__)
#define HV_STDCALL __attribute__((stdcall))
#define HV_THISCALL __attribute__((thiscall))
#else
#define HV_STDCALL
#define HV_THISCALL
#endif

typedef uint16_t hvChar; /* one UTF-16 code unit */

/* A property value: a pointer to five slots, the first the deleting destructor (flags bit 0 = free).
 * thiscall on a plain function pointer is what the host's member function is; GCC only warns. */
#if defined(_WIN32) && defined(__i386__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wattributes"
#endif
typedef struct hvPropValue hvPropValue;
typedef struct hvPropSlots {
  void*(HV_THISCALL* deletingDestructor)(hvPropValue* self, uint32_t flags);
  void(HV_THISCALL* release)(hvPropValue* self);
  hvPropValue*(HV_THISCALL* clone)(hvPropValue* self);
  int32_t(HV_THISCALL* equals)(hvPropValue* self, hvPropValue* other);
  uint32_t(HV_THISCALL* getTypeCode)(hvPropValue* self);
} hvPropSlots;
#if defined(_WIN32) && defined(__i386__)
#pragma GCC diagnostic pop
#endif
struct hvPropValue {
  const hvPropSlots* slots;
};
/* The text value: after the slot pointer a 32-bit word (0) and the owned text. */
typedef struct hvStringValue {
  const hvPropSlots* slots;
  uint32_t zero;
  hvChar* text;
} hvStringValue;
#define HV_TYPE_STRW 0x53545257u

/* The editor's record. */
typedef struct hvEditor {
  uint32_t(HV_STDCALL* getHostVersion)(void);
  intptr_t(HV_STDCALL* editFunction)(void* editData, int32_t function, intptr_t a, intptr_t b, intptr_t c);
  void* parentWindow;
} hvEditor;

/* The run-time information record, fields in the interface's order and widths. */
typedef struct hvRunInfo {
  void* conditions;
  void* actions;
  void* expressions;
  int16_t conditionCount, actionCount, expressionCount, editDataSize;
  uint32_t flags;
  uint8_t windowProcPriority, unused;
  int16_t flags2;
  uint32_t identifier;
  int16_t version;
} hvRunInfo;

/* The host's services, in the order of its table. */
typedef struct hvHeader hvHeader;
typedef struct hvServices {
  intptr_t(HV_STDCALL* getNextParameter)(hvHeader* self, int32_t minusOne, int32_t zero);
  intptr_t(HV_STDCALL* getFirstExpressionParameter)(hvHeader* self, int32_t kind, intptr_t hostValue);
  intptr_t(HV_STDCALL* getNextExpressionParameter)(hvHeader* self, int32_t kind, intptr_t hostValue);
  void(HV_STDCALL* generateEvent)(hvHeader* self, int32_t code, int32_t zero);
  void(HV_STDCALL* redrawObject)(hvHeader* object, int32_t zero1, int32_t zero2);
  void(HV_STDCALL* destroyObject)(hvHeader* object, int32_t zero1, int32_t zero2);
  void(HV_STDCALL* updateAnimation)(hvHeader* object, int32_t zero);
} hvServices;

typedef struct hvRunHeader {
  const hvServices* services;
  void* mainWindow;
  const int32_t* application; /* the application header: frame rate first */
  const int32_t* frame;       /* the current frame: window width, height */
} hvRunHeader;

/* The header every object record begins with, as far as the extension's own record uses it. */
struct hvHeader {
  hvRunHeader* runHeader;
  void* objectInfo;
  int16_t number, kind;
  uint16_t flags; /* 0x8000: the expression just evaluated returned a string */
};
#define HV_STRING_RESULT 0x8000u

/* Exports and routines as the host calls them. */
typedef int32_t(HV_STDCALL* hvCreateObject)(hvEditor* editor, void* loadInfo, void* editData);
typedef void*(HV_STDCALL* hvGetPropValue)(hvEditor* editor, void* editData, uint32_t identifier);
typedef void(HV_STDCALL* hvSetPropValue)(hvEditor* editor, void* editData, uint32_t identifier, void* value);
typedef int16_t(HV_STDCALL* hvGetRunObjectInfos)(hvEditor* editor, hvRunInfo* info);
typedef uint16_t(HV_STDCALL* hvGetRunObjectDataSize)(hvRunHeader* runHeader, void* editData);
typedef int16_t(HV_STDCALL* hvCreateRunObject)(hvHeader* rd, void* editData, void* createInfo);
typedef int16_t(HV_STDCALL* hvHandleRunObject)(hvHeader* rd);
typedef int16_t(HV_STDCALL* hvDestroyRunObject)(hvHeader* rd, int32_t fast);
typedef int32_t(HV_STDCALL* hvConditionRoutine)(hvHeader* rd, intptr_t param1, intptr_t param2);
typedef int32_t(HV_STDCALL* hvActionRoutine)(hvHeader* rd, intptr_t param1, intptr_t param2);
typedef intptr_t(HV_STDCALL* hvExpressionRoutine)(hvHeader* rd, intptr_t hostValue);

/* The checks. Each loads the extension at `path` (a zero-terminated UTF-16 path on Windows, UTF-8
 * elsewhere), returns 0 when everything held, else 1 with what failed in `failure`. */
int hvCheckTextValues(const void* path, char* failure, size_t size);
int hvCheckHostValueReadThroughSlot4(const void* path, char* failure, size_t size);
int hvCheckRunTimeRecords(const void* path, char* failure, size_t size);

#ifdef __cplusplus
}
#endif

#endif
