// The real desktop on Windows. A hook on vohost's thread sees each message box as soon as its dialog is
// initialised (caption and text set, whether or not it ever gets the focus), records them, and
// dismisses the box with OK (or the Escape key, when a test asks for it), so a run never waits for a person.
// The cursor and the clipboard are the real ones too.
#include <windows.h>

#include "vohost/error.h"
#include "vohost/simhost/desktop.h"
#include "vohost/utf.h"

namespace vohost {

namespace {

constexpr int kMessageTextId = 0xFFFF;  // the static control holding a message box's text
constexpr int kTextUnits = 4096;
constexpr wchar_t kFrameWindowClass[] = L"vohostFrame";
constexpr wchar_t kPrivateFormat[] = L"vohost private data";

std::vector<ShownMessageBox>& shownBoxes() {
  static std::vector<ShownMessageBox> boxes;
  return boxes;
}

DialogAnswer& dialogAnswer() {
  static DialogAnswer answer = DialogAnswer::ok;
  return answer;
}

// Escape goes through the dialog's own message loop, which turns it into cancel as for a person.
void answer(HWND dialog) {
  if (dialogAnswer() == DialogAnswer::ok) {
    PostMessageW(dialog, WM_COMMAND, IDOK, 0);
  } else {
    PostMessageW(dialog, WM_KEYDOWN, VK_ESCAPE, 0);
  }
}

bool isMessageBox(HWND window) {
  wchar_t className[16] = {};
  return GetClassNameW(window, className, 16) > 0 && lstrcmpW(className, L"#32770") == 0;
}

LRESULT CALLBACK readAndDismissMessageBoxes(int code, WPARAM wParam, LPARAM lParam) {
  const auto* call = reinterpret_cast<const CWPRETSTRUCT*>(lParam);
  HWND window = call->hwnd;
  if (code == HC_ACTION && call->message == WM_INITDIALOG && isMessageBox(window)) {
    wchar_t caption[kTextUnits] = {};
    wchar_t text[kTextUnits] = {};
    GetWindowTextW(window, caption, kTextUnits);
    GetDlgItemTextW(window, kMessageTextId, text, kTextUnits);
    shownBoxes().push_back({toUtf8(caption), toUtf8(text)});
    answer(window);
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

// Installed once for the thread, before the extension can show anything.
void hookMessageBoxes() {
  static HHOOK hook =
      SetWindowsHookExW(WH_CALLWNDPROCRET, readAndDismissMessageBoxes, nullptr, GetCurrentThreadId());
  if (!hook) throw Error("cannot hook message boxes: Windows error " + std::to_string(GetLastError()));
}

}  // namespace

void answerDialogsWith(DialogAnswer answer) {
  dialogAnswer() = answer;
}

namespace {

void registerFrameWindowClass() {
  static ATOM atom = [] {
    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = DefWindowProcW;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = kFrameWindowClass;
    return RegisterClassW(&windowClass);
  }();
  if (!atom) throw Error("cannot register the frame window class");
}

std::string showName(HWND window) {
  if (IsIconic(window)) return "minimized";
  return IsZoomed(window) ? "maximized" : "normal";
}

std::string captionOf(HWND window) {
  wchar_t caption[kTextUnits] = {};
  GetWindowTextW(window, caption, kTextUnits);
  return toUtf8(caption);
}

// Puts `bytes` on the clipboard in `format`, replacing what it held.
void putOnClipboard(UINT format, const void* bytes, size_t size) {
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, size);
  if (!block) throw Error("cannot allocate clipboard memory");
  CopyMemory(GlobalLock(block), bytes, size);
  GlobalUnlock(block);
  if (!OpenClipboard(nullptr)) {
    GlobalFree(block);
    throw Error("cannot open the clipboard: Windows error " + std::to_string(GetLastError()));
  }
  EmptyClipboard();
  bool placed = SetClipboardData(format, block) != nullptr;
  CloseClipboard();
  if (!placed) {
    GlobalFree(block);
    throw Error("cannot set the clipboard data: Windows error " + std::to_string(GetLastError()));
  }
}

}  // namespace

std::vector<ShownMessageBox> takeMessageBoxes() {
  hookMessageBoxes();
  std::vector<ShownMessageBox> shown;
  shown.swap(shownBoxes());
  return shown;
}

// At (0, 0), as on the desk, so a trace reads the same on both.
MainWindow::MainWindow(int width, int height) : handle_(nullptr) {
  hookMessageBoxes();
  registerFrameWindowClass();
  HWND window = CreateWindowExW(0, kFrameWindowClass, L"NIMBO", WS_OVERLAPPEDWINDOW, 0, 0, width, height,
                                nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
  if (!window) throw Error("cannot create the frame window: Windows error " + std::to_string(GetLastError()));
  ShowWindow(window, SW_SHOWNOACTIVATE);
  handle_ = window;
}

MainWindow::~MainWindow() {
  DestroyWindow(static_cast<HWND>(handle_));
}

DeskState deskState(const MainWindow& window) {
  HWND main = static_cast<HWND>(window.handle());
  RECT rect = {};
  GetWindowRect(main, &rect);
  HWND taskBar = FindWindowW(L"Shell_TrayWnd", nullptr);
  return {rect.left,
          rect.top,
          rect.right - rect.left,
          rect.bottom - rect.top,
          captionOf(main),
          showName(main),
          taskBar != nullptr,
          taskBar && IsWindowVisible(taskBar),
          IsClipboardFormatAvailable(CF_TEXT) != FALSE};
}

void moveCursor(int32_t x, int32_t y) {
  if (!SetCursorPos(x, y))
    throw Error("cannot move the cursor: Windows error " + std::to_string(GetLastError()));
}

void setClipboardText(const nimbo::Text& text) {
  putOnClipboard(CF_UNICODETEXT, text.c_str(), (text.size() + 1) * sizeof(wchar_t));
}

// A format of vohost's own: content that is not text.
void setClipboardData() {
  static const UINT format = RegisterClipboardFormatW(kPrivateFormat);
  if (!format) throw Error("cannot register a clipboard format");
  const unsigned char data[4] = {1, 2, 3, 4};
  putOnClipboard(format, data, sizeof data);
}

}  // namespace vohost
