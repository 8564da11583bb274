// Building the objInfoList and the instances, the selections the event list makes of them, and what the
// trace shows of each.
#include "vohost/simhost/objects.h"

#include <algorithm>
#include <utility>

#include "vohost/error.h"
#include "vohost/utf.h"

namespace vohost {

namespace {

// An active object with its effect object in one block, so the effect lives as long as the object.
struct ActiveBlock {
  voObject object;
  voEffect effect;
};

constexpr const char* kExtensionTypeName = "NIMBO";
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

void setUpInfo(voObjInfo* info, int16_t index, int16_t kind, const std::string& name) {
  info->oilOi = index;
  info->oilType = kind;
  info->oilCurrentOi = -1;
  info->oilNext = -1;
  std::fill(std::begin(info->oilQualifiers), std::end(info->oilQualifiers), int16_t{-1});
  writeName(info, name);
}

}  // namespace

ObjectStore::ObjectStore(const Scene& scene, void* mainWindow) {
  app_.frameRate = scene.frame.frameRate;
  frameWindow_ = {scene.frame.width, scene.frame.height};
  run_.header.rhMainWindow = mainWindow;
  run_.header.rhApp = &app_;
  run_.header.rhFrame = &frameWindow_;
  buildTypes(scene);
  for (size_t t = 0; t < scene.objects.size(); ++t) {
    const auto& instances = scene.objects[t].instances;
    for (size_t i = 0; i < instances.size(); ++i)
      addInstance(static_cast<int>(t), static_cast<int>(i), instances[i]);
  }
}

void ObjectStore::attach(const voServices* services, void* host) {
  run_.header.rhServices = services;
  run_.host = host;
}

void* ObjectStore::hostOf(const voHeader* object) {
  return reinterpret_cast<const HostRunHeader*>(object->hoAdRunHeader)->host;
}

void ObjectStore::buildTypes(const Scene& scene) {
  for (const ObjectType& type : scene.objects) types_.push_back({type.name, type.kind, nullptr, {}});
  types_.push_back({kExtensionTypeName, kExtensionKind, nullptr, {}});
  objInfoList_.assign(types_.size(), voObjInfo{});
  for (size_t i = 0; i < types_.size(); ++i) {
    types_[i].info = &objInfoList_[i];
    setUpInfo(types_[i].info, static_cast<int16_t>(i), types_[i].kind, types_[i].name);
  }
  run_.header.rhNumberOi = static_cast<int32_t>(types_.size());
  run_.header.rhOiList = types_.front().info;
}

void ObjectStore::addInstance(int type, int index, const InstanceSettings& settings) {
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
  placeHeader(instance, settings);
  types_[type].instances.push_back(instance.header->hoNumber);
  objectList_.push_back(instance.header);
  instances_.push_back(std::move(instance));
  run_.header.rhObjectList = objectList_.data();
  run_.header.rhMaxObjects = static_cast<int32_t>(objectList_.size());
  refreshObjInfo(types_[type]);
}

void ObjectStore::placeHeader(Instance& instance, const InstanceSettings& settings) {
  voHeader& header = *instance.header;
  header.hoAdRunHeader = &run_.header;
  header.hoOiList = types_[instance.type].info;
  header.hoNumber = static_cast<int16_t>(instances_.size());
  header.hoType = types_[instance.type].kind;
  header.hoOi = static_cast<int16_t>(instance.type);
  header.hoX = settings.x;
  header.hoY = settings.y;
  header.hoImgXSpot = settings.hotSpotX;
  header.hoImgYSpot = settings.hotSpotY;
  header.hoImgWidth = settings.width;
  header.hoImgHeight = settings.height;
}

void ObjectStore::addNimbo(uint16_t recordSize) {
  int number = static_cast<int>(instances_.size());
  addInstance(static_cast<int>(types_.size()) - 1, nimboCount(), InstanceSettings{});
  Instance& instance = instances_.back();
  instance.nimbo = nimboCount();
  // The record is the size the extension asked for; its header keeps what addInstance wrote.
  voHeader header = *instance.header;
  instance.memory.reset(zeroBlock(recordSize));
  instance.header = static_cast<voHeader*>(instance.memory.get());
  *instance.header = header;
  objectList_[number] = instance.header;
  nimbos_.push_back(number);
}

const ObjectStore::Instance* ObjectStore::instanceOf(const voHeader* header) const {
  if (!header || header->hoNumber < 0 || header->hoNumber >= static_cast<int>(instances_.size()))
    return nullptr;
  const Instance& instance = instances_[header->hoNumber];
  return instance.header == header ? &instance : nullptr;
}

const ObjectStore::TypeSlot& ObjectStore::typeNamed(const std::string& name) const {
  return *std::find_if(types_.begin(), types_.end(), [&](const TypeSlot& type) { return type.name == name; });
}

std::vector<int> ObjectStore::selected(const ObjectSelection& selection) const {
  std::vector<int> numbers;
  if (selection.type.empty()) return numbers;
  const TypeSlot& type = typeNamed(selection.type);
  for (size_t index = 0; index < type.instances.size(); ++index) {
    bool named = selection.instances.empty() ||
                 std::find(selection.instances.begin(), selection.instances.end(), static_cast<int>(index)) !=
                     selection.instances.end();
    const Instance& instance = instances_[type.instances[index]];
    if (named && !instance.removed && !(instance.header->hoFlags & VO_HOF_DESTROYING)) {
      numbers.push_back(type.instances[index]);
    }
  }
  return numbers;
}

int32_t ObjectStore::alterableValue(const AlterableValue& value, const std::string& where) const {
  std::vector<int> numbers = selected(value.object);
  if (numbers.empty()) throw Error(where + ": no instance of \"" + value.object.type + "\" is selected");
  const voHeader* header = instances_[numbers.front()].header;
  if (header->hoType != VO_KIND_ACTIVE) throw Error(where + ": only active objects have alterable values");
  return reinterpret_cast<const voObject*>(header)->rov[value.slot].value.integer;
}

void ObjectStore::refreshObjInfo(TypeSlot& type) {
  int32_t live = 0;
  type.info->oilObject = -1;
  for (int number : type.instances) {
    if (instances_[number].removed) continue;
    if (live++ == 0) type.info->oilObject = number;
  }
  type.info->oilNObjects = live;
}

void ObjectStore::applyDestroys() {
  for (Instance& instance : instances_) {
    if (instance.removed || !(instance.header->hoFlags & VO_HOF_DESTROYING)) continue;
    instance.removed = true;
    objectList_[instance.header->hoNumber] = nullptr;
    refreshObjInfo(types_[instance.type]);
  }
}

// Scene objects marked as destroyed whose records are still held.
std::vector<int> ObjectStore::markedObjects() const {
  std::vector<int> numbers;
  for (size_t number = 0; number < instances_.size(); ++number) {
    const Instance& instance = instances_[number];
    if (instance.nimbo < 0 && instance.header && (instance.header->hoFlags & VO_HOF_DESTROYING))
      numbers.push_back(static_cast<int>(number));
  }
  return numbers;
}

// Freed for real, so that an extension touching a destroyed object's record is caught by the sanitizer.
void ObjectStore::releaseRecords(const std::vector<int>& marked) {
  for (int number : marked) {
    Instance& instance = instances_[number];
    instance.lastState = ObjectState{};
    writeState(instance, instance.lastState);
    instance.memory.reset();
    instance.header = nullptr;
  }
}

// Written into a state made in place: a step notes every object, and a state built apart then moved in
// would copy its type's name twice.
void ObjectStore::writeState(const Instance& instance, ObjectState& state) const {
  const voHeader& header = *instance.header;
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
}

std::vector<ObjectState> ObjectStore::snapshot() const {
  std::vector<ObjectState> states;
  states.reserve(instances_.size());
  for (const Instance& instance : instances_) {
    if (instance.nimbo >= 0) continue;
    if (instance.header) {
      writeState(instance, states.emplace_back());
    } else {
      states.push_back(instance.lastState);
    }
  }
  return states;
}

std::vector<uintptr_t> ObjectStore::sceneObjectAddresses() const {
  std::vector<uintptr_t> addresses;
  for (const Instance& instance : instances_) {
    if (instance.nimbo < 0) addresses.push_back(reinterpret_cast<uintptr_t>(instance.header));
  }
  return addresses;
}

}  // namespace vohost
