// The host runtime: one running frame of a scene. It owns the run header and its services, the object
// types (objInfoList) and instances, and every NIMBO instance (EDITDATA and runtime record), evaluates
// the event list and steps the frame the way the host does.
#pragma once

#include <array>
#include <cstdlib>
#include <exception>
#include <memory>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "host/exports.h"
#include "vohost/loader/catalog_reader.h"
#include "vohost/loader/extension.h"
#include "vohost/scenes/scene.h"
#include "vohost/scenes/trace.h"
#include "vohost/simhost/desktop.h"
#include "vohost/simhost/editor.h"

namespace vohost {

// The kind the host gives the extension's own object type.
constexpr int16_t kExtensionKind = 32;

class Runtime {
 public:
  // Builds the frame and creates every NIMBO instance: CreateObject, the scene's edit-time settings,
  // CreateRunObject. Throws Error when the scene does not fit the extension's catalog.
  Runtime(const Extension& extension, Scene scene, uint32_t hostVersion = kHostVersion);
  // DestroyRunObject on every NIMBO instance.
  ~Runtime();
  Runtime(const Runtime&) = delete;
  Runtime& operator=(const Runtime&) = delete;

  // One frame step: the event list, HandleRunObject on every NIMBO instance, then the destroys. A
  // destroyed object leaves the frame at the end of the step that marked it; its record stays readable,
  // marked, until every NIMBO instance has had a frame step since, and is freed then.
  StepRecord step();

  int framesDone() const { return frame_; }
  int nimboCount() const { return static_cast<int>(nimbos_.size()); }
  voHeader* nimboRecord(int index) const;
  const EditData& nimboEditData(int index) const { return *nimbos_.at(index).edit; }
  voRunHeader* runHeader() { return &run_.header; }
  const voRunInfo& runInfo() const { return runInfo_; }
  // The main window, the task bar and the clipboard as they stand now.
  DeskState desk() const { return deskState(mainWindow_); }

 private:
  // The run header first, so a service finds the runtime from any object's hoAdRunHeader.
  struct HostRunHeader {
    voRunHeader header;
    Runtime* runtime;
  };
  struct FreeBlock {
    void operator()(void* block) const { std::free(block); }
  };
  struct TypeSlot {
    std::string name;
    int16_t kind = 0;
    voObjInfo* info = nullptr;
    std::vector<int> instances;  // object numbers, in scene order
  };
  struct Instance {
    int type = 0;
    int index = 0;   // within its type
    int nimbo = -1;  // NIMBO instance index, -1 for scene objects
    std::unique_ptr<void, FreeBlock> memory;
    voHeader* header = nullptr;  // null once the record is freed
    bool removed = false;
    ObjectState lastState;  // what the trace shows once the record is freed
  };
  struct Nimbo {
    int number = 0;
    std::unique_ptr<EditData> edit;
    bool created = false;
    bool handled = true;  // HandleRunObject asked to be called again
  };
  // One parameter value handed to a routine; a text stays valid while the routine runs.
  struct Argument {
    voValue integer = 0;
    bool isText = false;
    nimbo::Text text;
    voValue value() const { return isText ? reinterpret_cast<voValue>(text.c_str()) : integer; }
  };
  struct CallContext {
    std::vector<Argument> args;
    size_t next = 0;
  };
  using HostValue = std::variant<int32_t, nimbo::Text>;
  enum class ValueType { integer, text, position, object };

  // runtime.cpp: building and stepping the frame.
  void buildTypes();
  void addInstance(int type, int index, const InstanceSettings& settings);
  void createNimbos();
  void applyDestroys();
  std::vector<int> markedObjects() const;
  void releaseRecords(const std::vector<int>& numbers);
  void refreshObjInfo(TypeSlot& type);
  ObjectState stateOf(const Instance& instance) const;
  std::vector<ObjectState> snapshot() const;
  std::vector<std::string> texts();
  Instance* instanceOf(const voHeader* header);
  const TypeSlot& typeNamed(const std::string& name) const;  // validation made sure it exists
  static Runtime& of(const voHeader* self);

  // services.cpp: what the extension calls back.
  static voValue VO_CALL getNextParameter(voHeader* self, int32_t, int32_t);
  static voValue VO_CALL getFirstExpressionParameter(voHeader* self, int32_t kind, voValue hostValue);
  static voValue VO_CALL getNextExpressionParameter(voHeader* self, int32_t kind, voValue hostValue);
  static void VO_CALL generateEvent(voHeader* self, int32_t code, int32_t);
  static void VO_CALL redrawObject(voHeader* object, int32_t, int32_t);
  static void VO_CALL destroyObject(voHeader* object, int32_t, int32_t);
  static void VO_CALL updateAnimation(voHeader* object, int32_t);
  voValue nextArgument(const char* service);
  void recordCall(const char* service, const voHeader* object);

  // validation.cpp: the scene against the catalog, before anything runs.
  void loadDeclarations();
  void validateEvents() const;
  void validateLine(const EventLine& line, const std::string& where) const;
  void validateParameters(CatalogKind kind, int nimbo, int code, const std::vector<Parameter>& params,
                          const std::string& where) const;
  void validateParameter(const Parameter& param, ValueType expected, const std::string& where) const;
  void validateHostAction(const HostAction& action, const std::string& where) const;
  ValueType typeOf(const Parameter& param, const std::string& where) const;
  const CatalogEntryInfo& declaration(CatalogKind kind, int code, const std::string& where) const;

  // events.cpp: the event list.
  void runPass();
  void raise(int nimbo, int code);
  void evaluateLine(const EventLine& line, size_t firstCondition, const std::string& where);
  bool headedByRaised(const EventLine& line) const;
  bool test(const Condition& condition, const std::string& where);
  bool testHost(const HostCondition& condition, const std::string& where);
  bool testExtension(const ExtensionCondition& condition, const std::string& where);
  void run(const Action& action, const std::string& where);
  void runHost(const HostAction& action, const std::string& where);
  void runExtension(const ExtensionAction& action, const std::string& where);
  std::vector<int> selected(const ObjectSelection& selection) const;
  std::vector<Argument> arguments(const std::vector<Parameter>& params, int loopParameter, int servedObject,
                                  const std::string& where);
  HostValue evaluate(const Parameter& param, const std::string& where);
  HostValue callExpression(const ExpressionCall& call, const std::string& where);
  int32_t alterableValue(const AlterableValue& value, const std::string& where) const;
  // Runs `call(param1, param2)` with `args` as the parameters the services hand out, then reports a
  // service misuse or an error raised inside the call.
  template <class Call>
  voValue withArguments(std::vector<Argument> args, const std::string& where, Call call);

  const Extension& extension_;
  const Exports& exports_;
  Scene scene_;
  Editor editor_;
  MainWindow mainWindow_;
  voRunInfo runInfo_{};
  std::array<std::vector<std::optional<CatalogEntryInfo>>, 3> declarations_;
  voServices services_{};
  voAppHeader app_{};
  voFrame frameWindow_{};
  HostRunHeader run_{};
  std::vector<voObjInfo> objInfoList_;
  std::vector<TypeSlot> types_;
  std::vector<Instance> instances_;  // by object number
  std::vector<voHeader*> objectList_;
  std::vector<Nimbo> nimbos_;
  std::vector<CallContext> contexts_;
  std::string fault_;                // a misuse of a service by the extension, reported after the call
  std::exception_ptr pendingError_;  // an error inside generateEvent, rethrown once the extension returns
  int frame_ = 0;
  StepRecord record_;
};

}  // namespace vohost
