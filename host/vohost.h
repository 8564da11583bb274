/* The host's records and services as the NIMBO extension sees them.
 *
 * Written from the host-service interface; both the extension and our host substitute include it and
 * nothing else defines these layouts. One thread: the host calls every entry point, routine and service
 * on its game-loop thread, and the extension calls the services back on that thread; nothing is locked.
 * Every record here is owned by the host; the extension borrows pointers that stay valid while the
 * frame runs. */
#ifndef NIMBO_HOST_VOHOST_H
#define NIMBO_HOST_VOHOST_H

#include <stddef.h>
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

/* The host calls and is called with the standard call convention of 32-bit Windows. */
#if defined(_WIN32) && !defined(_WIN64)
#define VO_CALL __stdcall
#else
#define VO_CALL
#endif

/* One UTF-16 code unit. */
#if defined(__cplusplus) && defined(_WIN32)
typedef wchar_t voChar;
#elif defined(__cplusplus)
typedef char16_t voChar;
#else
typedef uint16_t voChar;
#endif

/* A parameter value, routine argument or expression result: a 32-bit integer or a pointer. */
typedef intptr_t voValue;

/* Header flags word (hoFlags). */
#define VO_HOF_DESTROYING 0x0001u    /* the object is being destroyed: leave it alone */
#define VO_HOF_STRING_RESULT 0x8000u /* set by a string expression just before it returns */

/* Object kinds (hoType). */
#define VO_KIND_ACTIVE 2

/* Ink effect word: the low 12 bits name the effect; 13 makes the RGBA coefficient's alpha apply. */
#define VO_INK_EFFECT_MASK 0x0FFFu
#define VO_INK_ALPHA 13u

/* Alterable value slot types. */
#define VO_ALTERABLE_INTEGER 0

/* Parameter kinds of actions and conditions in the information tables. */
#define VO_PARAM_OBJECT 1    /* the routine receives the record of the selected instance it serves */
#define VO_PARAM_POSITION 16 /* packed: X in the low 16 bits, Y in the high 16 bits */
#define VO_PARAM_NUMBER 22   /* 32-bit integer */
#define VO_PARAM_TEXT 45     /* pointer to a zero-terminated UTF-16 text, valid during the call */

/* Parameter kinds of expressions in the information tables. */
#define VO_EXPPARAM_INTEGER 1
#define VO_EXPPARAM_TEXT 3

/* Kind argument of getFirstExpressionParameter / getNextExpressionParameter. */
#define VO_EXPRESSION_INTEGER 0
#define VO_EXPRESSION_STRING 1

/* Catalog flags. */
#define VO_CONDITION_RAISED 0x00     /* evaluated only when the extension raises its code */
#define VO_CONDITION_EVERY_PASS 0x20 /* evaluated on every pass of the event list */
#define VO_EXPRESSION_RESULT_STRING 0x1
#define VO_EXPRESSION_RESULT_INTEGER 0x2

/* Edit-time function entry numbers. */
#define VO_EDIT_INSERT_PROPERTIES 1 /* a = property table, b = 1, c = 1 */
#define VO_EDIT_REALLOC 5           /* a = EDITDATA, b = new size in bytes; returns the new record or 0 */

/* Distance in bytes between two objInfoList entries. */
#define VO_OBJINFO_STRIDE 146

struct voRunHeader;

#pragma pack(push, 2)
/* One object type of the frame (objInfoList entry). */
typedef struct voObjInfo {
  int16_t oilOi;            /* the type's index in the list */
  int16_t oilType;          /* kind of its instances (VO_KIND_ACTIVE ...), 16 bits */
  int32_t oilNObjects;      /* instances in the frame */
  int32_t oilNumOfSelected; /* instances selected by the running event line */
  int32_t oilCurrentOi;     /* instance number being served in the action loop, -1 = none */
  int32_t oilNext;          /* instance number of the next selected instance, -1 = end */
  int32_t oilEventCount;    /* event-pass counter of the selection */
  int32_t oilEventCountOR;  /* event-pass counter of an OR selection */
  int16_t oilObject;        /* instance number of the first instance, -1 = none; 16 bits */
  int16_t oilQualifiers[8]; /* qualifier numbers, -1 = none */
  voChar oilName[24];       /* type name, zero-terminated */
  uint8_t oilHostPrivate[52];
} voObjInfo;
#pragma pack(pop)

/* rHo: the header every object of the frame begins with, the extension's own runtime record included. */
typedef struct voHeader {
  struct voRunHeader* hoAdRunHeader; /* the frame's run header and service table */
  voObjInfo* hoOiList;               /* its object type's objInfoList entry */
  int16_t hoNumber;                  /* instance number: index into rhObjectList */
  int16_t hoType;                    /* kind: VO_KIND_ACTIVE for active objects */
  uint16_t hoFlags;                  /* VO_HOF_* */
  int16_t hoOi;                      /* index of its objInfoList entry */
  int32_t hoX, hoY;                  /* position of the hot spot, in frame pixels */
  int32_t hoImgXSpot, hoImgYSpot;    /* hot spot inside the image, pixels from its top left */
  int32_t hoImgWidth, hoImgHeight;   /* image size in pixels */
} voHeader;

/* Movement part of an active object. */
typedef struct voMovement {
  int32_t rcDir;     /* direction 0..31, anticlockwise from the right (0 right, 8 up, 16 left, 24 down) */
  int32_t rcChanged; /* non-zero: position or image written since the last redraw */
} voMovement;

/* Animation part of an active object. */
typedef struct voAnimation {
  int32_t raAnimDir;           /* the animation's copy of the direction, 0..31 */
  int32_t raAnimDirForced;     /* non-zero: the direction was forced by an action */
  int32_t raAnimForced;        /* forced animation frame + 1; 0 = not forced */
  int32_t raAnimFrame;         /* frame shown, written by the host */
  int32_t raAnimNumberOfFrame; /* frames of the animation, written by the host */
} voAnimation;

/* The effect object of an active object. */
typedef struct voEffect {
  uint32_t rgbaCoefficient; /* top byte = 255 - alpha; the host reads it each redraw */
} voEffect;

/* Sprite part of an active object. */
typedef struct voSprite {
  uint32_t rsEffect;        /* ink-effect word, low 12 bits = effect (VO_INK_ALPHA ...) */
  voEffect* rsEffectObject; /* never null for an active object */
} voSprite;

/* One alterable value: 16 bytes, type first, value 8 bytes in. */
typedef struct voAlterable {
  int32_t type; /* VO_ALTERABLE_INTEGER for integer values */
  int32_t reserved;
  union {
    int32_t integer;
    double real;
  } value;
} voAlterable;

#define VO_ALTERABLE_COUNT 26 /* A .. Z */

/* An active object (hoType == VO_KIND_ACTIVE); other kinds share only the header. */
typedef struct voObject {
  voHeader rHo;
  voMovement roc;
  voAnimation roa;
  voSprite ros;
  voAlterable rov[VO_ALTERABLE_COUNT];
} voObject;

/* The host services. `self` is the caller's own record; a call about another object passes that
 * object's header, reached through its own hoAdRunHeader. */
typedef struct voServices {
  /* Next parameter of the running action or condition, in declared order (call with -1, 0): an integer,
   * a pointer to UTF-16 text valid during the call, or the voObject of the selected instance served. */
  voValue(VO_CALL* getNextParameter)(voHeader* self, int32_t minusOne, int32_t zero);
  /* First and next parameter of the running expression; kind VO_EXPRESSION_*, hostValue as received. */
  voValue(VO_CALL* getFirstExpressionParameter)(voHeader* self, int32_t kind, voValue hostValue);
  voValue(VO_CALL* getNextExpressionParameter)(voHeader* self, int32_t kind, voValue hostValue);
  /* The host evaluates at once this object's event lines headed by the condition code. */
  void(VO_CALL* generateEvent)(voHeader* self, int32_t code, int32_t zero);
  /* After X, Y and the changed flag were written, the object shows at its new place. */
  void(VO_CALL* redrawObject)(voHeader* object, int32_t zero1, int32_t zero2);
  /* The object leaves the frame at the end of the frame step. Its record stays readable, marked
   * VO_HOF_DESTROYING, until the extension's next HandleRunObject has returned; then the host frees it. */
  void(VO_CALL* destroyObject)(voHeader* object, int32_t zero1, int32_t zero2);
  /* Applies a newly written direction or forced frame. */
  void(VO_CALL* updateAnimation)(voHeader* object, int32_t zero);
} voServices;

typedef struct voAppHeader {
  int32_t frameRate; /* frame steps per second */
} voAppHeader;

typedef struct voFrame {
  int32_t windowWidth, windowHeight; /* the frame's window, pixels */
} voFrame;

/* The run header of the running frame. */
typedef struct voRunHeader {
  const voServices* rhServices;
  void* rhMainWindow; /* the application's main window (a HWND on Windows) */
  voAppHeader* rhApp;
  voFrame* rhFrame;
  uint8_t rh2MouseKeys;       /* mouse-button bits of the current frame step */
  int32_t rhNumberOi;         /* count of objInfoList entries */
  voObjInfo* rhOiList;        /* first entry; entries are VO_OBJINFO_STRIDE bytes apart */
  voHeader** rhObjectList;    /* instance number -> object; null for a free number */
  int32_t rhMaxObjects;       /* length of rhObjectList */
  int32_t rh2ActionLoopCount; /* action-loop index: 0 for the first selected instance served */
  int32_t rh2ActionLoop;      /* loop-again flag: non-zero while a further call follows */
} voRunHeader;

/* The first 20 bytes of every EDITDATA: owned and filled by the host. */
typedef struct voEditHeader {
  uint32_t size; /* the record's current size in bytes, header included */
  uint32_t hostPrivate[4];
} voEditHeader;

/* One entry of a property table handed to VO_EDIT_INSERT_PROPERTIES; an all-zero entry ends it. */
typedef struct voPropertyEntry {
  uint32_t identifier;
  uint32_t nameStringId;
  uint32_t infoStringId;
  uint32_t kind; /* VO_PROPERTY_* */
  uint32_t options;
  uint32_t createParam;
} voPropertyEntry;

#define VO_PROPERTY_TEXT_EDIT 1005
#define VO_PROPERTY_CHECK_BOX 1010

/* A rectangle in pixels, right and bottom exclusive (the layout of a Windows RECT). */
typedef struct voRect {
  int32_t left, top, right, bottom;
} voRect;

/* The run-time information record filled by GetRunObjectInfos. */
typedef struct voRunInfo {
  void* conditions; /* jump tables, indexed by code */
  void* actions;
  void* expressions;
  int16_t conditionCount;
  int16_t actionCount;
  int16_t expressionCount;
  int16_t editDataSize; /* size of a new EDITDATA */
  uint32_t flags;
  uint8_t windowProcPriority;
  uint8_t unused;
  int16_t flags2;
  uint32_t identifier; /* four-character code, first character in the most significant byte */
  int16_t version;
} voRunInfo;

/* The editor's record, handed to the edit-time exports. */
typedef struct voEditor {
  /* Build in bits 0-11, version in bits 16-31. */
  uint32_t(VO_CALL* getHostVersion)(void);
  /* Edit-time function entry: VO_EDIT_REALLOC, VO_EDIT_INSERT_PROPERTIES. */
  voValue(VO_CALL* editFunction)(void* editData, int32_t function, voValue a, voValue b, voValue c);
  void* parentWindow; /* owner of the editor's dialogs (a HWND on Windows) */
} voEditor;

/* The layouts both sides rely on, for the 32-bit DLL the host loads and for the 64-bit builds. A host
 * compiled elsewhere sees exactly these offsets; a field that moves or changes width fails the build. */
#ifdef __cplusplus
#define VO_LAYOUT(condition) static_assert(condition, #condition)
#else
#define VO_LAYOUT(condition) _Static_assert(condition, #condition)
#endif
#define VO_AT(type, field, offset32, offset64) \
  VO_LAYOUT(offsetof(type, field) == (sizeof(void*) == 4 ? (offset32) : (offset64)))
#define VO_SIZE(type, size32, size64) VO_LAYOUT(sizeof(type) == (sizeof(void*) == 4 ? (size32) : (size64)))
#define VO_WIDTH(type, field, bytes) VO_LAYOUT(sizeof(((type*)0)->field) == (bytes))

VO_SIZE(voObjInfo, VO_OBJINFO_STRIDE, VO_OBJINFO_STRIDE);
VO_AT(voObjInfo, oilType, 2, 2);
VO_AT(voObjInfo, oilNObjects, 4, 4);
VO_AT(voObjInfo, oilNumOfSelected, 8, 8);
VO_AT(voObjInfo, oilCurrentOi, 12, 12);
VO_AT(voObjInfo, oilNext, 16, 16);
VO_AT(voObjInfo, oilEventCount, 20, 20);
VO_AT(voObjInfo, oilEventCountOR, 24, 24);
VO_AT(voObjInfo, oilObject, 28, 28);
VO_AT(voObjInfo, oilQualifiers, 30, 30);
VO_AT(voObjInfo, oilName, 46, 46);
VO_WIDTH(voObjInfo, oilType, 2);
VO_WIDTH(voObjInfo, oilObject, 2);
VO_WIDTH(voObjInfo, oilQualifiers[0], 2);

VO_SIZE(voHeader, 40, 48);
VO_AT(voHeader, hoOiList, 4, 8);
VO_AT(voHeader, hoNumber, 8, 16);
VO_AT(voHeader, hoType, 10, 18);
VO_AT(voHeader, hoFlags, 12, 20);
VO_AT(voHeader, hoOi, 14, 22);
VO_AT(voHeader, hoX, 16, 24);
VO_AT(voHeader, hoY, 20, 28);
VO_AT(voHeader, hoImgXSpot, 24, 32);
VO_AT(voHeader, hoImgYSpot, 28, 36);
VO_AT(voHeader, hoImgWidth, 32, 40);
VO_AT(voHeader, hoImgHeight, 36, 44);
VO_WIDTH(voHeader, hoType, 2);
VO_WIDTH(voHeader, hoFlags, 2);

VO_SIZE(voAlterable, 16, 16);
VO_AT(voAlterable, value, 8, 8);
VO_WIDTH(voAlterable, type, 4);
VO_SIZE(voEffect, 4, 4);
VO_SIZE(voObject, 496, 512);
VO_AT(voObject, roc.rcDir, 40, 48);
VO_AT(voObject, roc.rcChanged, 44, 52);
VO_AT(voObject, roa.raAnimDir, 48, 56);
VO_AT(voObject, roa.raAnimDirForced, 52, 60);
VO_AT(voObject, roa.raAnimForced, 56, 64);
VO_AT(voObject, ros.rsEffect, 68, 80);
VO_AT(voObject, ros.rsEffectObject, 72, 88);
VO_AT(voObject, rov, 80, 96);

VO_SIZE(voServices, 28, 56);
VO_AT(voServices, getFirstExpressionParameter, 4, 8);
VO_AT(voServices, getNextExpressionParameter, 8, 16);
VO_AT(voServices, generateEvent, 12, 24);
VO_AT(voServices, redrawObject, 16, 32);
VO_AT(voServices, destroyObject, 20, 40);
VO_AT(voServices, updateAnimation, 24, 48);

VO_SIZE(voRunHeader, 44, 72);
VO_AT(voRunHeader, rhMainWindow, 4, 8);
VO_AT(voRunHeader, rhApp, 8, 16);
VO_AT(voRunHeader, rhFrame, 12, 24);
VO_AT(voRunHeader, rh2MouseKeys, 16, 32);
VO_AT(voRunHeader, rhNumberOi, 20, 36);
VO_AT(voRunHeader, rhOiList, 24, 40);
VO_AT(voRunHeader, rhObjectList, 28, 48);
VO_AT(voRunHeader, rhMaxObjects, 32, 56);
VO_AT(voRunHeader, rh2ActionLoopCount, 36, 60);
VO_AT(voRunHeader, rh2ActionLoop, 40, 64);
VO_WIDTH(voRunHeader, rh2MouseKeys, 1);

VO_SIZE(voRunInfo, 36, 48);
VO_AT(voRunInfo, actions, 4, 8);
VO_AT(voRunInfo, expressions, 8, 16);
VO_AT(voRunInfo, conditionCount, 12, 24);
VO_AT(voRunInfo, actionCount, 14, 26);
VO_AT(voRunInfo, expressionCount, 16, 28);
VO_AT(voRunInfo, editDataSize, 18, 30);
VO_AT(voRunInfo, flags, 20, 32);
VO_AT(voRunInfo, windowProcPriority, 24, 36);
VO_AT(voRunInfo, flags2, 26, 38);
VO_AT(voRunInfo, identifier, 28, 40);
VO_AT(voRunInfo, version, 32, 44);

VO_SIZE(voEditHeader, 20, 20);
VO_SIZE(voPropertyEntry, 24, 24);
VO_AT(voPropertyEntry, kind, 12, 12);
VO_AT(voPropertyEntry, createParam, 20, 20);
VO_SIZE(voRect, 16, 16);
VO_SIZE(voEditor, 12, 24);
VO_AT(voEditor, editFunction, 4, 8);
VO_AT(voEditor, parentWindow, 8, 16);

#ifdef __cplusplus
}
#endif

#endif
