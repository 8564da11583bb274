// The edit-time exports: identity, catalog lookups, menus, display strings and parameter titles. The
// property sheet and the setup dialog have files of their own.
#include <cstring>

#include "frame/barrier.h"
#include "frame/catalog.h"
#include "frame/editdata.h"
#include "frame/exports.h"
#include "frame/menu_copy.h"
#include "platform/platform.h"

using namespace nimbo;
using nimbo::frame::CatalogKind;

namespace {

constexpr uint32_t kMinimumBuild = 280;
constexpr uint32_t kMinimumVersion = 0x02000000;

const Char kDefaultText[] = NIMBO_TEXT("日本語表現");
constexpr uint32_t kNewObjectSize = 60;

void loadDisplayString(CatalogKind kind, int16_t code, Char* buffer, int16_t maximum) {
  frame::CatalogEntry entry = frame::findEntry(kind, code);
  if (entry.words) platform::loadString(entry.stringId(), buffer, maximum);
}

// A title id of 0 falls back to the text of the entry's own menu item.
void loadTitle(CatalogKind kind, int16_t code, int16_t param, Char* buffer, int16_t maximum) {
  frame::CatalogEntry entry = frame::findEntry(kind, code);
  if (!entry.words || param < 0 || param >= entry.parameterCount()) return;
  int title = entry.titleId(param);
  if (title != 0) {
    platform::loadString(title, buffer, maximum);
  } else {
    frame::loadMenuItemText(frame::catalogTable(kind).menuResource, entry.menuId(), buffer, maximum);
  }
}

const int16_t* infos(CatalogKind kind, int16_t code) {
  frame::CatalogEntry entry = frame::findEntry(kind, code);
  return entry.words ? entry.infos() : nullptr;
}

}  // namespace

// An editor older than build 280 / version 2 gets nothing from the "compatible only" entries.
bool nimbo::editorCompatible(voEditor* editor) {
  if (!editor || !editor->getHostVersion) return false;
  uint32_t word = editor->getHostVersion();
  return (word & 0x0FFFu) >= kMinimumBuild && (word & 0xFFFF0000u) >= kMinimumVersion;
}

int32_t VO_CALL GetInfos(int32_t query) {
  switch (query) {
    case 0:
      return 768;
    case 2:
      return 256;
    case 6:
      return 2;
    case 7:
      return 280;
    case 8:
      return 1;
    default:
      return 0;
  }
}

int32_t VO_CALL CreateObject(voEditor* editor, void*, void* editData) {
  return frame::shielded([&]() -> int32_t {
    if (!editorCompatible(editor)) return -1;
    auto* edit = static_cast<EDITDATA*>(editData);
    edit->popup = 1;
    edit->options = 0;
    edit->reserved2 = 0;
    edit->reserved3 = 0;
    auto* grown = reinterpret_cast<EDITDATA*>(
        editor->editFunction(edit, VO_EDIT_REALLOC, reinterpret_cast<voValue>(edit), kNewObjectSize, 0));
    if (grown) std::memcpy(grown->text, kDefaultText, sizeof(kDefaultText));
    return 0;
  });
}

void VO_CALL GetObjectRect(voEditor*, voRect* rect, void*, void*) {
  rect->right = rect->left + 32;
  rect->bottom = rect->top + 32;
}

void VO_CALL GetObjInfos(voEditor*, void*, voChar* name, voChar* author, voChar* copyright, voChar* comment,
                         voChar* website) {
  return frame::shielded([&]() -> void {
    platform::loadString(128, name, 255);
    platform::loadString(129, author, 255);
    platform::loadString(130, copyright, 255);
    platform::loadString(131, comment, 1024);
    platform::loadString(132, website, 255);
  });
}

const voChar* VO_CALL GetHelpFileName() {
  static const Char path[] = NIMBO_TEXT("Help\\Quillet\\Quillet.chm");
  return path;
}

void* VO_CALL GetActionMenu(voEditor* editor, void*, void*) {
  return frame::shielded([&]() -> void* {
    return editorCompatible(editor)
               ? frame::copyMenuResource(frame::catalogTable(CatalogKind::action).menuResource)
               : nullptr;
  });
}
void* VO_CALL GetConditionMenu(voEditor* editor, void*, void*) {
  return frame::shielded([&]() -> void* {
    return editorCompatible(editor)
               ? frame::copyMenuResource(frame::catalogTable(CatalogKind::condition).menuResource)
               : nullptr;
  });
}
void* VO_CALL GetExpressionMenu(voEditor* editor, void*, void*) {
  return frame::shielded([&]() -> void* {
    return editorCompatible(editor)
               ? frame::copyMenuResource(frame::catalogTable(CatalogKind::expression).menuResource)
               : nullptr;
  });
}

int16_t VO_CALL GetActionCodeFromMenu(voEditor*, int16_t menuId) {
  return frame::shielded([&]() -> int16_t {
    return static_cast<int16_t>(frame::codeFromMenu(CatalogKind::action, static_cast<uint16_t>(menuId)));
  });
}
int16_t VO_CALL GetConditionCodeFromMenu(voEditor*, int16_t menuId) {
  return frame::shielded([&]() -> int16_t {
    return static_cast<int16_t>(frame::codeFromMenu(CatalogKind::condition, static_cast<uint16_t>(menuId)));
  });
}
int16_t VO_CALL GetExpressionCodeFromMenu(voEditor*, int16_t menuId) {
  return frame::shielded([&]() -> int16_t {
    return static_cast<int16_t>(frame::codeFromMenu(CatalogKind::expression, static_cast<uint16_t>(menuId)));
  });
}

const int16_t* VO_CALL GetActionInfos(voEditor*, int16_t code) {
  return frame::shielded([&]() -> const int16_t* { return infos(CatalogKind::action, code); });
}
const int16_t* VO_CALL GetConditionInfos(voEditor*, int16_t code) {
  return frame::shielded([&]() -> const int16_t* { return infos(CatalogKind::condition, code); });
}
const int16_t* VO_CALL GetExpressionInfos(voEditor*, int16_t code) {
  return frame::shielded([&]() -> const int16_t* { return infos(CatalogKind::expression, code); });
}

void VO_CALL GetActionString(voEditor* editor, int16_t code, voChar* buffer, int16_t maximum) {
  return frame::shielded([&]() -> void {
    if (editorCompatible(editor)) loadDisplayString(CatalogKind::action, code, buffer, maximum);
  });
}
void VO_CALL GetConditionString(voEditor* editor, int16_t code, voChar* buffer, int16_t maximum) {
  return frame::shielded([&]() -> void {
    if (editorCompatible(editor)) loadDisplayString(CatalogKind::condition, code, buffer, maximum);
  });
}
void VO_CALL GetExpressionString(voEditor* editor, int16_t code, voChar* buffer, int16_t maximum) {
  return frame::shielded([&]() -> void {
    if (editorCompatible(editor)) loadDisplayString(CatalogKind::expression, code, buffer, maximum);
  });
}

void VO_CALL GetActionTitle(voEditor*, int16_t code, int16_t param, voChar* buffer, int16_t maximum) {
  return frame::shielded([&]() -> void { loadTitle(CatalogKind::action, code, param, buffer, maximum); });
}
void VO_CALL GetConditionTitle(voEditor*, int16_t code, int16_t param, voChar* buffer, int16_t maximum) {
  return frame::shielded([&]() -> void { loadTitle(CatalogKind::condition, code, param, buffer, maximum); });
}
void VO_CALL GetExpressionTitle(voEditor*, int16_t code, voChar* buffer, int16_t maximum) {
  return frame::shielded([&]() -> void { loadTitle(CatalogKind::expression, code, 0, buffer, maximum); });
}

void VO_CALL GetExpressionParam(voEditor*, int16_t code, int16_t param, voChar* buffer, int16_t maximum) {
  return frame::shielded([&]() -> void {
    frame::CatalogEntry entry = frame::findEntry(CatalogKind::expression, code);
    if (maximum > 0) buffer[0] = 0;
    if (entry.words && param >= 0 && param < entry.parameterCount() && entry.titleId(param) != 0) {
      platform::loadString(entry.titleId(param), buffer, maximum);
    }
  });
}

const voChar** VO_CALL GetDependencies(voEditor*, void*) {
  return nullptr;
}
int32_t VO_CALL GetFilters(voEditor*, int32_t, int32_t, void*) {
  return 0;
}
int32_t VO_CALL LoadObject(voEditor*, const voChar*, void*, int32_t) {
  return 0;
}
int32_t VO_CALL UsesFile(voEditor*, const voChar*) {
  return 0;
}
int32_t VO_CALL UpdateEditStructure(voEditor*, void*) {
  return 0;
}
int32_t VO_CALL Initialize(voEditor*, int32_t) {
  return 0;
}
void VO_CALL PutObject(voEditor*, void*, void*, uint16_t) {}
void VO_CALL RemoveObject(voEditor*, void*, void*, uint16_t) {}
void VO_CALL UpdateFileNames(voEditor*, const voChar*, void*, void*) {}
void VO_CALL ReleasePropCreateParam(voEditor*, void*, uint32_t, voValue) {}
void VO_CALL GetParameterString(voEditor*, int16_t, void*, voChar*, int16_t) {}
void VO_CALL DuplicateObject(voEditor*, void*, void*) {}
void VO_CALL EditParameter(voEditor*, int16_t, void*) {}
void VO_CALL InitParameter(voEditor*, int16_t, void*) {}
void VO_CALL PrepareToWriteObject(voEditor*, void*, void*) {}
void VO_CALL ReleaseProperties(voEditor*, void*, int32_t) {}
void VO_CALL UnloadObject(voEditor*, void*, int32_t) {}
void VO_CALL StartFrame(voEditor*, uint32_t, void*) {}
void VO_CALL EndFrame(voEditor*, uint32_t, void*) {}
void VO_CALL GetDebugItem(voChar*, voHeader*, int32_t) {}
