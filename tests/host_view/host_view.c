/* The host's side of the binary interface, in C: loads the built extension by its export names and calls
 * it only through the descriptions of host_view.h, as a host built by another compiler would. The
 * values the host makes itself (a text value, the services) are defined here with the host's
 * conventions too. */
#include "host_view.h"

#include <stdarg.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#ifdef _WIN32
#include <windows.h>
#else
#include <dlfcn.h>
#endif

/* The host's own slot functions below are thiscall free functions, as in host_view.h. */
#if defined(_WIN32) && defined(__i386__)
#pragma GCC diagnostic ignored "-Wattributes"
#endif

#define TEXT_PROPERTY 0x80001u
#define POPUP_PROPERTY 0x80002u
#define EDIT_REALLOC 5
#define HOST_VERSION (0x02000000u | 284u)

/* ---- reporting ---- */

typedef struct Report {
  char* text;
  size_t size;
  int failed;
} Report;

static void fail(Report* report, const char* format, ...) {
  if (!report->failed) {
    va_list arguments;
    va_start(arguments, format);
    vsnprintf(report->text, report->size, format, arguments);
    va_end(arguments);
  }
  report->failed = 1;
}

#define EXPECT(report, condition)                                        \
  do {                                                                   \
    if (!(condition)) fail(report, "line %d: %s", __LINE__, #condition); \
  } while (0)

/* ---- the module ---- */

static void* loadModule(const void* path) {
#ifdef _WIN32
  return (void*)LoadLibraryW((const wchar_t*)path);
#else
  return dlopen((const char*)path, RTLD_NOW);
#endif
}

/* Any exported function, cast to its own type by the caller. */
typedef void (*AnyFunction)(void);

static AnyFunction exported(void* module, const char* name) {
#ifdef _WIN32
  return (AnyFunction)GetProcAddress((HMODULE)module, name);
#else
  void* address = dlsym(module, name); /* POSIX: an object pointer that holds the function's address */
  AnyFunction function;
  memcpy(&function, &address, sizeof function);
  return function;
#endif
}

static void unloadModule(void* module) {
#ifdef _WIN32
  FreeLibrary((HMODULE)module);
#else
  dlclose(module);
#endif
}

/* Looks up every export a check needs; null when one is missing (reported). */
static AnyFunction need(Report* report, void* module, const char* name) {
  AnyFunction address = module ? exported(module, name) : NULL;
  if (!address) fail(report, "export %s not found", name);
  return address;
}

/* ---- texts ---- */

static size_t textLength(const hvChar* text) {
  size_t length = 0;
  while (text[length]) ++length;
  return length;
}

static int sameText(const hvChar* a, const hvChar* b) {
  if (!a || !b) return 0;
  size_t length = textLength(a);
  return length == textLength(b) && memcmp(a, b, length * sizeof(hvChar)) == 0;
}

static hvChar* copyText(const hvChar* text) {
  size_t bytes = (textLength(text) + 1) * sizeof(hvChar);
  hvChar* copy = (hvChar*)malloc(bytes);
  if (copy) memcpy(copy, text, bytes);
  return copy;
}

static const hvChar kDefaultText[] = {0x65E5, 0x672C, 0x8A9E, 0x8868, 0x73FE, 0}; /* the new object's TEXT */
static const hvChar kAbc[] = {'a', 'b', 'c', 0};

/* ---- the editor: EDITDATA lives in one malloc block whose first word is its size ---- */

static void* gEditData;

static uint32_t HV_STDCALL hostVersion(void) {
  return HOST_VERSION;
}

static intptr_t HV_STDCALL editFunction(void* editData, int32_t function, intptr_t a, intptr_t b,
                                        intptr_t c) {
  (void)editData;
  (void)c;
  if (function != EDIT_REALLOC || (void*)a != gEditData || b < 20) return 0;
  uint32_t oldSize = *(uint32_t*)gEditData;
  unsigned char* grown = (unsigned char*)realloc(gEditData, (size_t)b);
  if (!grown) return 0;
  if ((uint32_t)b > oldSize) memset(grown + oldSize, 0, (size_t)b - oldSize);
  *(uint32_t*)grown = (uint32_t)b;
  gEditData = grown;
  return (intptr_t)grown;
}

static hvEditor gEditor = {hostVersion, editFunction, NULL};

static const hvChar* editText(void) {
  return (const hvChar*)((const unsigned char*)gEditData + 44);
}

/* A new object's EDITDATA, as the host makes it: the size the run-time information asks, then CreateObject.
 */
static int createEditData(Report* report, void* module) {
  hvCreateObject createObject = (hvCreateObject)need(report, module, "CreateObject");
  if (!createObject) return 0;
  gEditData = calloc(1, 48);
  if (!gEditData) return 0;
  *(uint32_t*)gEditData = 48;
  EXPECT(report, createObject(&gEditor, NULL, gEditData) == 0);
  EXPECT(report, *(const uint32_t*)gEditData == 60);
  EXPECT(report, sameText(editText(), kDefaultText));
  return !report->failed;
}

static void releaseEditData(void) {
  free(gEditData);
  gEditData = NULL;
}

/* ---- the host's own text value: records which of its slots the extension calls ---- */

typedef struct HostValue {
  const hvPropSlots* slots;
  uint32_t zero;
  hvChar* text;
  uint32_t typeCode;
  int typeCodeCalls, otherCalls;
} HostValue;

static void* HV_THISCALL hostDeletingDestructor(hvPropValue* self, uint32_t flags) {
  ((HostValue*)self)->otherCalls++;
  (void)flags;
  return self;
}
static void HV_THISCALL hostRelease(hvPropValue* self) {
  ((HostValue*)self)->otherCalls++;
}
static hvPropValue* HV_THISCALL hostClone(hvPropValue* self) {
  ((HostValue*)self)->otherCalls++;
  return NULL;
}
static int32_t HV_THISCALL hostEquals(hvPropValue* self, hvPropValue* other) {
  (void)other;
  ((HostValue*)self)->otherCalls++;
  return 0;
}
static uint32_t HV_THISCALL hostTypeCode(hvPropValue* self) {
  ((HostValue*)self)->typeCodeCalls++;
  return ((HostValue*)self)->typeCode;
}

static const hvPropSlots kHostSlots = {hostDeletingDestructor, hostRelease, hostClone, hostEquals,
                                       hostTypeCode};

static HostValue hostValue(hvChar* text, uint32_t typeCode) {
  HostValue value = {&kHostSlots, 0, text, typeCode, 0, 0};
  return value;
}

/* ---- the checks ---- */

static void checkTextValue(Report* report, hvGetPropValue getPropValue) {
  hvStringValue* value = (hvStringValue*)getPropValue(&gEditor, gEditData, TEXT_PROPERTY);
  if (!value) {
    fail(report, "GetPropValue gave no text value");
    return;
  }
  hvPropValue* self = (hvPropValue*)value;
  EXPECT(report, value->slots->getTypeCode(self) == HV_TYPE_STRW);
  EXPECT(report, value->zero == 0);
  EXPECT(report, sameText(value->text, kDefaultText));

  hvStringValue* clone = (hvStringValue*)value->slots->clone(self);
  EXPECT(report,
         clone && clone != value && clone->text != value->text && sameText(clone->text, kDefaultText));
  if (clone) {
    EXPECT(report, value->slots->equals(self, (hvPropValue*)clone) == 1);
    clone->slots->release((hvPropValue*)clone);
  }

  HostValue other = hostValue(copyText(kAbc), HV_TYPE_STRW);
  EXPECT(report, value->slots->equals(self, (hvPropValue*)&other) == 0);
  EXPECT(report, other.typeCodeCalls == 1 && other.otherCalls == 0);
  free(other.text);

  /* Slot 0 without the free bit leaves the object; with it frees the object and never the text. */
  hvChar* text = value->text;
  EXPECT(report, value->slots->deletingDestructor(self, 0) == self);
  EXPECT(report, value->text == text && sameText(text, kDefaultText));
  value->slots->deletingDestructor(self, 1);
  EXPECT(report, sameText(text, kDefaultText));
  free(text);
}

int hvCheckTextValues(const void* path, char* failure, size_t size) {
  Report report = {failure, size, 0};
  void* module = loadModule(path);
  if (!module) fail(&report, "the extension did not load");
  hvGetPropValue getPropValue = (hvGetPropValue)need(&report, module, "GetPropValue");
  if (getPropValue && createEditData(&report, module)) {
    checkTextValue(&report, getPropValue);
    EXPECT(&report, getPropValue(&gEditor, gEditData, POPUP_PROPERTY) == NULL);
  }
  releaseEditData();
  if (module) unloadModule(module);
  return report.failed;
}

static void checkSetPropValue(Report* report, hvSetPropValue setPropValue) {
  HostValue given = hostValue(copyText(kAbc), HV_TYPE_STRW);
  setPropValue(&gEditor, gEditData, TEXT_PROPERTY, &given);
  EXPECT(report, given.typeCodeCalls >= 1 && given.otherCalls == 0);
  EXPECT(report, *(const uint32_t*)gEditData == 48 + 2 * 3);
  EXPECT(report, sameText(editText(), kAbc));
  free(given.text);

  hvChar other[] = {'x', 0};
  HostValue number = hostValue(other, 0x494E5420u);
  setPropValue(&gEditor, gEditData, TEXT_PROPERTY, &number);
  EXPECT(report, number.typeCodeCalls == 1 && number.otherCalls == 0);
  EXPECT(report, sameText(editText(), kAbc));
}

int hvCheckHostValueReadThroughSlot4(const void* path, char* failure, size_t size) {
  Report report = {failure, size, 0};
  void* module = loadModule(path);
  if (!module) fail(&report, "the extension did not load");
  hvSetPropValue setPropValue = (hvSetPropValue)need(&report, module, "SetPropValue");
  if (setPropValue && createEditData(&report, module)) checkSetPropValue(&report, setPropValue);
  releaseEditData();
  if (module) unloadModule(module);
  return report.failed;
}

/* ---- run time: a frame of one NIMBO instance, with services that answer from queues ---- */

typedef struct Frame {
  hvServices services;
  hvRunHeader runHeader;
  int32_t application[1], frame[2];
  intptr_t expressionParameter, hostValueSeen;
  int32_t kindSeen;
  int32_t raised[16];
  int raisedCount;
  hvHeader* record;
} Frame;

static Frame gFrame;

static intptr_t HV_STDCALL nextParameter(hvHeader* self, int32_t minusOne, int32_t zero) {
  (void)self, (void)minusOne, (void)zero;
  return 0;
}
static intptr_t HV_STDCALL expressionParameter(hvHeader* self, int32_t kind, intptr_t hostValue) {
  if (self != gFrame.record) return 0;
  gFrame.kindSeen = kind;
  gFrame.hostValueSeen = hostValue;
  return gFrame.expressionParameter;
}
static void HV_STDCALL generateEvent(hvHeader* self, int32_t code, int32_t zero) {
  (void)zero;
  if (self == gFrame.record && gFrame.raisedCount < 16) gFrame.raised[gFrame.raisedCount++] = code;
}
static void HV_STDCALL objectCall(hvHeader* object, int32_t zero1, int32_t zero2) {
  (void)object, (void)zero1, (void)zero2;
}
static void HV_STDCALL updateAnimation(hvHeader* object, int32_t zero) {
  (void)object, (void)zero;
}

static void startFrame(void) {
  memset(&gFrame, 0, sizeof gFrame);
  hvServices services = {nextParameter, expressionParameter, expressionParameter, generateEvent,
                         objectCall,    objectCall,          updateAnimation};
  gFrame.services = services;
  gFrame.application[0] = 60;
  gFrame.frame[0] = 640;
  gFrame.frame[1] = 480;
  gFrame.runHeader.services = &gFrame.services;
  gFrame.runHeader.application = gFrame.application;
  gFrame.runHeader.frame = gFrame.frame;
}

static void checkRunInfo(Report* report, const hvRunInfo* info) {
  EXPECT(report, info->conditions && info->actions && info->expressions);
  EXPECT(report, info->conditionCount == 8 && info->actionCount == 54 && info->expressionCount == 19);
  EXPECT(report, info->editDataSize == 48 && info->flags == 0x180 && info->windowProcPriority == 100);
  EXPECT(report, info->flags2 == 0 && info->identifier == 0x4E4D424Fu && info->version == 1);
}

/* One instance: set the TEXT, read it back as a string result, match it, read the match, step a frame. */
static void runInstance(Report* report, const hvRunInfo* info, hvHeader* rd) {
  const hvConditionRoutine* conditions = (const hvConditionRoutine*)info->conditions;
  const hvActionRoutine* actions = (const hvActionRoutine*)info->actions;
  const hvExpressionRoutine* expressions = (const hvExpressionRoutine*)info->expressions;
  static const hvChar kSource[] = {'a', 'b', '1', '2', 0};
  static const hvChar kPattern[] = {'(', '[', 'a', '-', 'z', ']', '+', ')', '(',
                                    '[', '0', '-', '9', ']', '+', ')', 0};
  static const hvChar kDigits[] = {'1', '2', 0};

  EXPECT(report, actions[0](rd, (intptr_t)kAbc, 0) == 0);
  rd->flags = 0;
  EXPECT(report, sameText((const hvChar*)expressions[0](rd, 0x1234), kAbc));
  EXPECT(report, (rd->flags & HV_STRING_RESULT) != 0);

  EXPECT(report, conditions[5](rd, (intptr_t)kSource, (intptr_t)kPattern) == 1);
  EXPECT(report, expressions[7](rd, 0x1234) == 1);
  gFrame.expressionParameter = 0;
  EXPECT(report, sameText((const hvChar*)expressions[8](rd, 0x5678), kDigits));
  EXPECT(report, gFrame.kindSeen == 0 && gFrame.hostValueSeen == 0x5678);

  EXPECT(report, conditions[0](rd, 0, 0) == 0);
}

int hvCheckRunTimeRecords(const void* path, char* failure, size_t size) {
  Report report = {failure, size, 0};
  void* module = loadModule(path);
  if (!module) fail(&report, "the extension did not load");
  hvGetRunObjectInfos getRunObjectInfos = (hvGetRunObjectInfos)need(&report, module, "GetRunObjectInfos");
  hvGetRunObjectDataSize dataSize = (hvGetRunObjectDataSize)need(&report, module, "GetRunObjectDataSize");
  hvCreateRunObject create = (hvCreateRunObject)need(&report, module, "CreateRunObject");
  hvHandleRunObject handle = (hvHandleRunObject)need(&report, module, "HandleRunObject");
  hvDestroyRunObject destroy = (hvDestroyRunObject)need(&report, module, "DestroyRunObject");
  if (!report.failed && createEditData(&report, module)) {
    hvRunInfo info;
    memset(&info, 0xCD, sizeof info);
    EXPECT(&report, getRunObjectInfos(&gEditor, &info) == 1);
    checkRunInfo(&report, &info);
    startFrame();
    uint16_t bytes = dataSize(&gFrame.runHeader, gEditData);
    EXPECT(&report, bytes == 2808);
    hvHeader* rd = (hvHeader*)calloc(1, bytes);
    if (rd && !report.failed) {
      rd->runHeader = &gFrame.runHeader;
      gFrame.record = rd;
      EXPECT(&report, create(rd, gEditData, NULL) == 0);
      runInstance(&report, &info, rd);
      EXPECT(&report, handle(rd) == 0);
      EXPECT(&report, gFrame.raisedCount >= 1 && gFrame.raised[gFrame.raisedCount - 1] == 0);
      EXPECT(&report, destroy(rd, 0) == 0);
    }
    free(rd);
  }
  releaseEditData();
  if (module) unloadModule(module);
  return report.failed;
}
