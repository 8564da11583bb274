// The operating-system services the extension uses, behind one interface. Two backends: win32 (USER32
// and KERNEL32 for real) and desk (a simulated desktop that the host substitute drives and reads).
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>

#include "host/vohost.h"

namespace nimbo {

using Char = voChar;
using Text = std::basic_string<Char>;

// A UTF-16 literal of the code-unit type: NIMBO_TEXT("OK").
#ifdef _WIN32
#define NIMBO_TEXT(s) L##s
#else
#define NIMBO_TEXT(s) u##s
#endif

}  // namespace nimbo

namespace nimbo::platform {

// Kept at process attach; every string and menu load reads the module's own resources.
void setModuleHandle(void* module);

// A message box with no owner window, the information icon and an OK button; returns when dismissed.
void messageBox(const Char* text, const Char* caption);

// A message box whose text and caption are narrow texts of the system's own encoding (a library's
// error description); otherwise as messageBox.
void messageBoxNarrow(const char* text, const char* caption);

// Converts a narrow error description to UTF-16 into `buffer` (at most `units` units, terminator
// included): the OEM code page on Windows, the C library's narrow encoding elsewhere. Returns the
// units written, terminator included; 0 when nothing could be converted.
int oemToText(const char* narrow, Char* buffer, int units);

// File-system names. A text becomes a path in the system's native form: UTF-16 as it stands on Windows,
// UTF-8 elsewhere, where a lone surrogate U+DC80..U+DCFF stands for the raw byte it escapes (any other
// lone surrogate becomes U+FFFD). nameText is the way back for the last component of a path: a byte that
// is not part of valid UTF-8 becomes U+DC00 + byte, so every listed name round-trips to its entry.
std::filesystem::path nativePath(const Text& text);
Text nameText(const std::filesystem::path& path);

// Runs `job` on a thread of its own whose stack holds at least `stackBytes` (at most kLargeStackBytes),
// and waits for it. For work whose recursion grows with its input (the regex matcher). Returns false when
// no such thread could be started, for instance when the address space has no room for its stack; `job`
// has not run then.
bool runOnLargeStack(size_t stackBytes, const std::function<void()>& job);

// Bytes of stack left to the calling thread below the caller's frame.
size_t stackRoom();
#ifdef __EMSCRIPTEN__
// The browser build has no threads: a job runs on the main stack, whose size the link sets.
constexpr size_t kLargeStackBytes = NIMBO_WEB_STACK_BYTES;
// The browser also keeps a stack of its own for the module's calls, outside the module's memory and
// beyond stackRoom()'s reach: Chromium and node give it 984 KiB. Recursion that grows with its input must
// fit it too.
constexpr size_t kCallStackBytes = size_t{984} << 10;
#else
constexpr size_t kLargeStackBytes = sizeof(void*) == 4 ? size_t{256} << 20 : size_t{1} << 30;
#endif

// Loads string `id` of the module into `buffer` (at most maximum - 1 units and a terminator).
// Returns the units copied; 0 and an empty buffer when the table does not hold it.
int loadString(unsigned id, Char* buffer, int maximum);

// Menus: HMENU on Windows, a desk menu elsewhere. The state flags use the Windows values.
using Menu = void*;
constexpr uint32_t kMenuGrayed = 0x0001;
constexpr uint32_t kMenuDisabled = 0x0002;
constexpr uint32_t kMenuPopup = 0x0010;
constexpr uint32_t kMenuSeparator = 0x0800;

struct MenuItem {
  int32_t id;      // 0 for a separator, -1 for an item that opens a submenu
  uint32_t state;  // kMenuGrayed | kMenuDisabled as the resource gives them
  Menu submenu;    // the submenu it opens, or null
};

Menu loadMenu(unsigned id);  // null when the resource fails to load
Menu createPopupMenu();
void destroyMenu(Menu menu);  // with its submenus
int menuItemCount(Menu menu);
// Reads the item at `position`; its text goes to `text` (at most maximum - 1 units and a terminator).
MenuItem menuItemAt(Menu menu, int position, Char* text, int maximum);
// Appends an item; `flags` is kMenuSeparator, kMenuPopup (then idOrSubmenu is the submenu) or a state.
void appendMenu(Menu menu, uint32_t flags, uintptr_t idOrSubmenu, const Char* text);
// Copies into `text` the text of the item, at any depth, whose command id is `id`; false when none has it.
bool menuTextByCommand(Menu menu, unsigned id, Char* text, int maximum);

}  // namespace nimbo::platform
