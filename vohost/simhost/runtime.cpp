// Building the frame (run header, objInfoList, instances, NIMBO records) and the frame step.
#include "vohost/simhost/runtime.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "vohost/error.h"
#include "vohost/simhost/desktop.h"
#include "vohost/utf.h"

namespace vohost {

namespace {

// An active object with its effect object in one block, so the effect lives as long as the object.
struct ActiveBlock {
  voObject object;
  voEffect effect;
};

constexpr const char* kExtensionTypeName = "NIMBO";
constexpr int kGetTEXT = 0;  // expression "Get TEXT$("
constexpr uint32_t kOpaqueWhite = 0x00FFFFFFu;

void* zeroBlock(size_t size) {
  void* block = std::calloc(1, size);
  if (!block) throw Error("out of memory allocating an object");
  return block;
}

void writeName(voObjInfo* info, const std::string& name) {
  nimbo::Text text = fromUtf8(name);
  size_t length = std::min<size_t>(text.size(), std::size(info->oilName) - 1);
  std::copy_n(text.begin(), length, info->oilName);
  info->oilName[length] = 0;
}

void setUpActive(voObject& object, voEffect& effect, const InstanceSettings& settings) {
  object.roc.rcDir = settings.direction;
  object.roa.raAnimDir = settings.direction;
  object.roa.raAnimNumberOfFrame = settings.animationFrames;
  object.ros.rsEffect = settings.inkEffect;
  effect.rgbaCoefficient = (static_cast<uint32_t>(255 - settings.alpha) << 24) | kOpaqueWhite;
  object.ros.rsEffectObject = &effect;
  for (size_t i = 0; i < settings.values.size(); ++i) {
    object.rov[i].type = VO_ALTERABLE_INTEGER;
    object.rov[i].value.integer = settings.values[i];
  }
}

}  // namespace

Runtime::Runtime(const Extension& extension, Scene scene, uint32_t hostVersion)
    : extension_(extension),
      exports_(extension.exports()),
      scene_(std::move(scene)),
      editor_(hostVersion),
      mainWindow_(scene_.frame.width, scene_.frame.height) {
  extension_.requireAll();
  takeMessageBoxes();  // boxes of an earlier frame are not this frame's
  exports_.GetRunObjectInfos(editor_.record(), &runInfo_);
  if (!runInfo_.conditions || !runInfo_.actions || !runInfo_.expressions) {
    throw Error("GetRunObjectInfos gave a null jump table");
  }
  loadDeclarations();
  validateEvents();

  services_ = {getNextParameter,
               getFirstExpressionParameter,
               getNextExpressionParameter,
               generateEvent,
               redrawObject,
               destroyObject,
               updateAnimation};
  app_.frameRate = scene_.frame.frameRate;
  frameWindow_ = {scene_.frame.width, scene_.frame.height};
  run_.runtime = this;
  run_.header.rhServices = &services_;
  run_.header.rhMainWindow = mainWindow_.handle();
  run_.header.rhApp = &app_;
  run_.header.rhFrame = &frameWindow_;
  buildTypes();
  createNimbos();
}

Runtime::~Runtime() {
  for (Nimbo& nimbo : nimbos_) {
    if (nimbo.created) exports_.DestroyRunObject(objectList_[nimbo.number], 0);
  }
}

void Runtime::buildTypes() {
  types_.clear();
  for (const ObjectType& type : scene_.objects) types_.push_back({type.name, type.kind, nullptr, {}});
  types_.push_back({kExtensionTypeName, kExtensionKind, nullptr, {}});
  objInfoList_.assign(types_.size(), voObjInfo{});
  for (size_t i = 0; i < types_.size(); ++i) {
    voObjInfo* info = &objInfoList_[i];
    info->oilOi = static_cast<int16_t>(i);
    info->oilType = types_[i].kind;
    info->oilCurrentOi = -1;
    info->oilNext = -1;
    std::fill(std::begin(info->oilQualifiers), std::end(info->oilQualifiers), int16_t{-1});
    writeName(info, types_[i].name);
    types_[i].info = info;
  }
  run_.header.rhNumberOi = static_cast<int32_t>(types_.size());
  run_.header.rhOiList = types_.front().info;

  for (size_t t = 0; t < scene_.objects.size(); ++t) {
    const auto& instances = scene_.objects[t].instances;
    for (size_t i = 0; i < instances.size(); ++i)
      addInstance(static_cast<int>(t), static_cast<int>(i), instances[i]);
  }
}

void Runtime::addInstance(int type, int index, const InstanceSettings& settings) {
  Instance instance{type, index, -1, nullptr, nullptr, false, {}};
  if (types_[type].kind == VO_KIND_ACTIVE) {
    auto* block = static_cast<ActiveBlock*>(zeroBlock(sizeof(ActiveBlock)));
    instance.memory.reset(block);
    setUpActive(block->object, block->effect, settings);
    instance.header = &block->object.rHo;
  } else {
    instance.memory.reset(zeroBlock(sizeof(voHeader)));
    instance.header = static_cast<voHeader*>(instance.memory.get());
  }
  voHeader& header = *instance.header;
  header.hoAdRunHeader = &run_.header;
  header.hoOiList = types_[type].info;
  header.hoNumber = static_cast<int16_t>(instances_.size());
  header.hoType = types_[type].kind;
  header.hoOi = static_cast<int16_t>(type);
  header.hoX = settings.x;
  header.hoY = settings.y;
  header.hoImgXSpot = settings.hotSpotX;
  header.hoImgYSpot = settings.hotSpotY;
  header.hoImgWidth = settings.width;
  header.hoImgHeight = settings.height;
  types_[type].instances.push_back(header.hoNumber);
  objectList_.push_back(instance.header);
  instances_.push_back(std::move(instance));
  run_.header.rhObjectList = objectList_.data();
  run_.header.rhMaxObjects = static_cast<int32_t>(objectList_.size());
  refreshObjInfo(types_[type]);
}

void Runtime::createNimbos() {
  int type = static_cast<int>(types_.size()) - 1;
  uint16_t size = exports_.GetRunObjectDataSize(&run_.header, nullptr);
  if (size < sizeof(voHeader)) throw Error("GetRunObjectDataSize is smaller than the object header");
  for (size_t i = 0; i < scene_.nimbo.size(); ++i) {
    Nimbo nimbo{static_cast<int>(instances_.size()), createEditData(exports_, editor_, scene_.nimbo[i]),
                false, true};
    InstanceSettings settings;
    addInstance(type, static_cast<int>(i), settings);
    Instance& instance = instances_.back();
    instance.nimbo = static_cast<int>(i);
    // The record is the size the extension asked for; its header keeps what addInstance wrote.
    voHeader header = *instance.header;
    instance.memory.reset(zeroBlock(size));
    instance.header = static_cast<voHeader*>(instance.memory.get());
    *instance.header = header;
    objectList_[nimbo.number] = instance.header;
    nimbos_.push_back(std::move(nimbo));
  }
  for (Nimbo& nimbo : nimbos_) {
    exports_.CreateRunObject(objectList_[nimbo.number], nimbo.edit->data(), nullptr);
    nimbo.created = true;
  }
}

voHeader* Runtime::nimboRecord(int index) const {
  return objectList_[nimbos_.at(index).number];
}

Runtime& Runtime::of(const voHeader* self) {
  return *reinterpret_cast<const HostRunHeader*>(self->hoAdRunHeader)->runtime;
}

Runtime::Instance* Runtime::instanceOf(const voHeader* header) {
  if (!header || header->hoNumber < 0 || header->hoNumber >= static_cast<int>(instances_.size()))
    return nullptr;
  Instance& instance = instances_[header->hoNumber];
  return instance.header == header ? &instance : nullptr;
}

const Runtime::TypeSlot& Runtime::typeNamed(const std::string& name) const {
  return *std::find_if(types_.begin(), types_.end(), [&](const TypeSlot& type) { return type.name == name; });
}

void Runtime::refreshObjInfo(TypeSlot& type) {
  int32_t live = 0;
  type.info->oilObject = -1;
  for (int number : type.instances) {
    if (instances_[number].removed) continue;
    if (live++ == 0) type.info->oilObject = number;
  }
  type.info->oilNObjects = live;
}

void Runtime::applyDestroys() {
  for (Instance& instance : instances_) {
    if (instance.removed || !(instance.header->hoFlags & VO_HOF_DESTROYING)) continue;
    instance.removed = true;
    objectList_[instance.header->hoNumber] = nullptr;
    refreshObjInfo(types_[instance.type]);
  }
}

// Scene objects marked as destroyed whose records are still held.
std::vector<int> Runtime::markedObjects() const {
  std::vector<int> numbers;
  for (size_t number = 0; number < instances_.size(); ++number) {
    const Instance& instance = instances_[number];
    if (instance.nimbo < 0 && instance.header && (instance.header->hoFlags & VO_HOF_DESTROYING))
      numbers.push_back(static_cast<int>(number));
  }
  return numbers;
}

// Freed for real, so that an extension touching a destroyed object's record is caught by the sanitizer.
void Runtime::releaseRecords(const std::vector<int>& numbers) {
  for (int number : numbers) {
    Instance& instance = instances_[number];
    instance.lastState = stateOf(instance);
    instance.memory.reset();
    instance.header = nullptr;
  }
}

ObjectState Runtime::stateOf(const Instance& instance) const {
  const voHeader& header = *instance.header;
  ObjectState state;
  state.type = types_[instance.type].name;
  state.instance = instance.index;
  state.x = header.hoX;
  state.y = header.hoY;
  state.destroyed = instance.removed;
  if (header.hoType == VO_KIND_ACTIVE) {
    const auto& object = reinterpret_cast<const voObject&>(header);
    state.active = true;
    state.direction = object.roc.rcDir;
    state.animationFrame = object.roa.raAnimFrame;
    state.forcedFrame = object.roa.raAnimForced;
    for (size_t i = 0; i < state.values.size(); ++i) state.values[i] = object.rov[i].value.integer;
    state.inkEffect = object.ros.rsEffect;
    state.alpha = 255 - static_cast<int32_t>(object.ros.rsEffectObject->rgbaCoefficient >> 24);
  }
  return state;
}

std::vector<ObjectState> Runtime::snapshot() const {
  std::vector<ObjectState> states;
  for (const Instance& instance : instances_) {
    if (instance.nimbo >= 0) continue;
    states.push_back(instance.header ? stateOf(instance) : instance.lastState);
  }
  return states;
}

// Read through "Get TEXT$(" as a designer's event would, so the host never looks inside the record.
std::vector<std::string> Runtime::texts() {
  std::vector<std::string> texts;
  for (size_t i = 0; i < nimbos_.size(); ++i) {
    if (instances_[nimbos_[i].number].removed) {
      texts.emplace_back();
      continue;
    }
    HostValue value = callExpression({static_cast<int>(i), kGetTEXT, {}}, "reading the TEXT");
    const auto* text = std::get_if<nimbo::Text>(&value);
    if (!text) throw Error("reading the TEXT: expression 0 gave a number, not a text");
    texts.push_back(toUtf8(*text));
  }
  return texts;
}

StepRecord Runtime::step() {
  record_ = StepRecord{};
  record_.frame = frame_;
  runPass();
  // Every NIMBO instance steps after these marks: their records may go once the step is over.
  std::vector<int> seenByEveryStep = markedObjects();
  for (Nimbo& nimbo : nimbos_) {
    if (!nimbo.handled || instances_[nimbo.number].removed) continue;
    nimbo.handled = exports_.HandleRunObject(objectList_[nimbo.number]) == 0;
    if (pendingError_) std::rethrow_exception(std::exchange(pendingError_, nullptr));
    if (!fault_.empty()) throw Error("HandleRunObject: " + std::exchange(fault_, std::string()));
  }
  applyDestroys();
  releaseRecords(seenByEveryStep);
  record_.messageBoxes = takeMessageBoxes();
  record_.desk = deskState(mainWindow_);
  record_.objects = snapshot();
  record_.texts = texts();
  ++frame_;
  return std::move(record_);
}

}  // namespace vohost
