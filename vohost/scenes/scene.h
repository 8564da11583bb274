// A scene: the frame, its object types and instances, the NIMBO instances with their edit-time data,
// and the event list. Read from JSON by readScene; tests may also build one in code.
#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "host/vohost.h"
#include "platform/platform.h"

namespace vohost {

// Edit-time settings a scene gives an instance on top of what CreateObject writes. They are set as a
// designer sets them, through the property sheet: the options word is the case check box, 0 or 2.
struct EditOverrides {
  std::optional<uint8_t> popup;
  std::optional<uint32_t> options;
  std::optional<nimbo::Text> text;
  // Run from the record's stored bytes read back, as a saved game is.
  bool propertySheet = false;
  // A record as a game file holds it, which no property sheet may have written (another options word):
  // the frame runs from these bytes as they stand, and the settings above do not apply.
  std::vector<uint8_t> stored = {};
};

struct FrameSettings {
  int32_t width = 640;
  int32_t height = 480;
  int32_t frameRate = 60;
  int32_t frames = 1;  // frame steps a run makes
};

struct InstanceSettings {
  int32_t x = 0, y = 0;
  int32_t width = 32, height = 32;
  int32_t hotSpotX = 0, hotSpotY = 0;
  int32_t animationFrames = 1;
  int32_t direction = 0;
  uint32_t inkEffect = 0;
  int32_t alpha = 255;
  std::vector<int32_t> values;  // alterable values from A
};

// The sweep's and the fuzzer's stock object: 32×24 at (100, 100), hot spot at its centre, four frames.
inline InstanceSettings stockBall() {
  return {.x = 100,
          .y = 100,
          .width = 32,
          .height = 24,
          .hotSpotX = 16,
          .hotSpotY = 12,
          .animationFrames = 4,
          .direction = 0,
          .inkEffect = 0,
          .alpha = 255,
          .values = {}};
}

struct ObjectType {
  std::string name;
  int16_t kind = VO_KIND_ACTIVE;
  std::vector<InstanceSettings> instances;
};

struct Position {
  int32_t x = 0, y = 0;
};

// Instances of one type by their index in the scene; empty = every instance. Without a type, the null
// object: the routine is called once with a null record, as a host may.
struct ObjectSelection {
  std::string type;
  std::vector<int> instances;
};

struct ExpressionCall;

// Alterable value `slot` (0 = A) of the first selected instance of an active object type, read when the
// parameter is evaluated.
struct AlterableValue {
  ObjectSelection object;
  int slot = 0;
};

using Parameter = std::variant<int32_t, nimbo::Text, Position, ObjectSelection,
                               std::shared_ptr<const ExpressionCall>, AlterableValue>;

struct ExpressionCall {
  int nimbo = 0;  // which NIMBO instance evaluates it
  int code = 0;
  std::vector<Parameter> params;
};

struct ExtensionCondition {
  int nimbo = 0;
  int code = 0;
  std::vector<Parameter> params;
};

enum class HostConditionKind { startOfFrame, everyFrame, frame, compare };
enum class Comparison { equal, different, lower, greater, lowerOrEqual, greaterOrEqual };

struct HostCondition {
  HostConditionKind kind = HostConditionKind::everyFrame;
  int32_t frame = 0;  // for HostConditionKind::frame
  Comparison comparison = Comparison::equal;
  std::vector<Parameter> operands;  // the two compared values
};

using Condition = std::variant<ExtensionCondition, HostCondition>;

struct ExtensionAction {
  int nimbo = 0;
  int code = 0;
  std::vector<Parameter> params;
};

enum class HostActionKind { log, moveCursor, setClipboardText, setClipboardData, destroyObject, writeFile };

struct HostAction {
  HostActionKind kind = HostActionKind::log;
  std::string name;  // the logged value's name
  // log: value; move cursor: position; clipboard: text; destroy: object; write file: path, text
  std::vector<Parameter> operands;
};

using Action = std::variant<ExtensionAction, HostAction>;

struct EventLine {
  std::vector<Condition> conditions;
  std::vector<Action> actions;
};

struct Scene {
  FrameSettings frame;
  std::vector<ObjectType> objects;
  std::vector<EditOverrides> nimbo;  // one per NIMBO instance
  std::vector<EventLine> events;
  // Not in the scene's file: the files of the run itself (the scenes, the extension, the outputs), which
  // a "write file" action refuses to write over.
  std::vector<std::filesystem::path> kept;
};

// Throws Error naming the place (event line, condition, key) of the first problem.
Scene parseScene(const std::string& json);
Scene readScene(const std::filesystem::path& path);

const char* hostConditionName(HostConditionKind kind);
const char* hostActionName(HostActionKind kind);

}  // namespace vohost
