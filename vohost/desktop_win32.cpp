// The real desktop on Windows. A hook on vohost's thread sees each message box as soon as its dialog is
// initialised (caption and text set, whether or not it ever gets the focus), records them, and
// dismisses the box with OK, so a run never waits for a person.
#include <windows.h>

#include "vohost/desktop.h"
#include "vohost/error.h"
#include "vohost/utf.h"

namespace vohost {

namespace {

constexpr int kMessageTextId = 0xFFFF;  // the static control holding a message box's text
constexpr int kTextUnits = 4096;
constexpr wchar_t kFrameWindowClass[] = L"vohostFrame";

std::vector<ShownMessageBox>& shownBoxes() {
  static std::vector<ShownMessageBox> boxes;
  return boxes;
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
    PostMessageW(window, WM_COMMAND, IDOK, 0);
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

// Installed once for the thread, before the extension can show anything.
void hookMessageBoxes() {
  static HHOOK hook =
      SetWindowsHookExW(WH_CALLWNDPROCRET, readAndDismissMessageBoxes, nullptr, GetCurrentThreadId());
  if (!hook) throw Error("cannot hook message boxes: Windows error " + std::to_string(GetLastError()));
}

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

}  // namespace

std::vector<ShownMessageBox> takeMessageBoxes() {
  hookMessageBoxes();
  std::vector<ShownMessageBox> shown;
  shown.swap(shownBoxes());
  return shown;
}

MainWindow::MainWindow(int width, int height) : handle_(nullptr) {
  hookMessageBoxes();
  registerFrameWindowClass();
  HWND window =
      CreateWindowExW(0, kFrameWindowClass, L"NIMBO", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT,
                      width, height, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
  if (!window) throw Error("cannot create the frame window: Windows error " + std::to_string(GetLastError()));
  ShowWindow(window, SW_SHOWNOACTIVATE);
  handle_ = window;
}

MainWindow::~MainWindow() {
  DestroyWindow(static_cast<HWND>(handle_));
}

}  // namespace vohost
