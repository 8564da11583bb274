// The frame's objects as the host keeps them: the run header, the object types (objInfoList) and every
// instance, scene objects and NIMBO records alike, by object number; and their destruction at the end of
// a frame step.
#pragma once

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "host/vohost.h"
#include "vohost/scenes/scene.h"
#include "vohost/scenes/trace.h"

namespace vohost {

// The kind the host gives the extension's own object type.
constexpr int16_t kExtensionKind = 32;

// The run header first, so a service finds its host from any object's hoAdRunHeader.
struct HostRunHeader {
  voRunHeader header;
  void* host;
};

class ObjectStore {
 public:
  struct TypeSlot {
    std::string name;
    int16_t kind = 0;
    voObjInfo* info = nullptr;
    std::vector<int> instances;  // object numbers, in scene order
  };
  struct FreeBlock {
    void operator()(void* block) const { std::free(block); }
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

  // The scene's object types and instances, the NIMBO type last and still empty.
  ObjectStore(const Scene& scene, void* mainWindow);
  ObjectStore(const ObjectStore&) = delete;
  ObjectStore& operator=(const ObjectStore&) = delete;

  // Points the run header at the service table and at the host its services belong to.
  void attach(const voServices* services, void* host);
  // A NIMBO instance with a zero-filled record of the size the extension asked for.
  void addNimbo(uint16_t recordSize);

  voRunHeader& runHeader() { return run_.header; }
  static void* hostOf(const voHeader* object);
  int nimboCount() const { return static_cast<int>(nimbos_.size()); }
  voHeader* nimboRecord(int nimbo) const { return objectList_[nimbos_.at(nimbo)]; }
  bool nimboRemoved(int nimbo) const { return instances_[nimbos_.at(nimbo)].removed; }
  // The instance this header belongs to; null for a header that is not one of the frame's records.
  const Instance* instanceOf(const voHeader* header) const;
  const std::string& typeName(const Instance& instance) const { return types_[instance.type].name; }
  const TypeSlot& typeNamed(const std::string& name) const;  // validation made sure it exists

  // The live instances a selection names, in scene order; those being destroyed are left out.
  std::vector<int> selected(const ObjectSelection& selection) const;
  voHeader* header(int number) const { return instances_[number].header; }
  int32_t alterableValue(const AlterableValue& value, const std::string& where) const;

  // Objects marked as destroyed leave the frame; their records go once `marked` have been seen by
  // every NIMBO instance's step.
  std::vector<int> markedObjects() const;
  void applyDestroys();
  void releaseRecords(const std::vector<int>& marked);
  std::vector<ObjectState> snapshot() const;
  // Where each scene object's record lies, in trace order; read before any record is freed.
  std::vector<uintptr_t> sceneObjectAddresses() const;

 private:
  void buildTypes(const Scene& scene);
  void addInstance(int type, int index, const InstanceSettings& settings);
  void placeHeader(Instance& instance, const InstanceSettings& settings);
  void refreshObjInfo(TypeSlot& type);
  void writeState(const Instance& instance, ObjectState& state) const;

  voAppHeader app_{};
  voFrame frameWindow_{};
  HostRunHeader run_{};
  std::vector<voObjInfo> objInfoList_;
  std::vector<TypeSlot> types_;
  std::vector<Instance> instances_;  // by object number
  std::vector<voHeader*> objectList_;
  std::vector<int> nimbos_;  // object number of each NIMBO instance
};

}  // namespace vohost
