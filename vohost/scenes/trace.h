// What one frame step did and left: the record the runtime fills, and its one-line JSON form.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <variant>
#include <vector>

namespace vohost {

struct ShownMessageBox {
  std::string caption;  // UTF-8
  std::string text;
};

// The main window, the task bar and the clipboard as a step leaves them.
struct DeskState {
  int32_t x = 0, y = 0, width = 0, height = 0;
  std::string caption;  // UTF-8
  std::string show;     // "normal", "minimized" or "maximized"
  bool taskBarPresent = false;
  bool taskBarVisible = false;
  bool clipboardText = false;  // the clipboard holds text
  bool operator==(const DeskState&) const = default;
};

// An integer or a UTF-8 text, as a host condition compares it and the log prints it.
using TraceValue = std::variant<int32_t, std::string>;

struct ObjectState {
  std::string type;
  int instance = 0;  // index within its type in the scene
  bool active = false;
  int32_t x = 0, y = 0;
  int32_t direction = 0;
  int32_t animationFrame = 0;
  int32_t forcedFrame = 0;          // frame + 1; 0 = not forced
  std::array<int32_t, 5> values{};  // alterable values A to E
  uint32_t inkEffect = 0;
  int32_t alpha = 255;
  bool destroyed = false;
};

struct RaisedCondition {
  int nimbo = 0;
  int code = 0;
  bool operator==(const RaisedCondition&) const = default;
};

struct LogEntry {
  std::string name;
  TraceValue value;
};

// A host service the extension called about an object: redrawObject, destroyObject, updateAnimation.
struct ServiceCall {
  std::string service;
  std::string type;
  int instance = 0;
};

struct StepRecord {
  int frame = 0;
  std::vector<ObjectState> objects;
  std::vector<RaisedCondition> raised;
  std::vector<LogEntry> log;
  std::vector<ServiceCall> calls;
  std::vector<ShownMessageBox> messageBoxes;  // the desk's state: boxes shown during the step
  DeskState desk;                             // and its window, task bar and clipboard after it
  // Not in the trace line: each NIMBO instance's TEXT after the step; the event lines (from 0) whose
  // conditions passed, in the order they ran; and, when the runtime is asked for them, each NIMBO
  // instance's listing of its controlled objects (expression "INFO_CtrlledList$(") after the step.
  std::vector<std::string> texts;
  std::vector<int> linesRun;
  std::vector<std::string> listings;
};

// One JSON line, without its newline; keys in a fixed order so traces compare as text.
std::string traceLine(const StepRecord& record);

}  // namespace vohost
