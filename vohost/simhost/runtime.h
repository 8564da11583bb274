// The host runtime: one running frame of a scene. It puts together the editor side (every NIMBO
// instance's EDITDATA), the objects and run header, the service table and the event list, and steps the
// frame the way the host does.
#pragma once

#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

#include "host/exports.h"
#include "vohost/loader/catalog_reader.h"
#include "vohost/loader/extension.h"
#include "vohost/scenes/scene.h"
#include "vohost/scenes/trace.h"
#include "vohost/simhost/desktop.h"
#include "vohost/simhost/editor.h"
#include "vohost/simhost/events.h"
#include "vohost/simhost/objects.h"
#include "vohost/simhost/services.h"

namespace vohost {

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

  // The frame as created, before the first step: frame -1 with the objects, TEXTs, desktop and listings.
  // Message boxes of the creation stay for step 0, where the trace shows them.
  StepRecord created();
  // From now on (until called with false) each record also carries every NIMBO instance's listing of its
  // controlled objects, read through its own expression as a designer's event would.
  void listControllers(bool on = true) { listControllers_ = on; }
  // Each scene object's record address, in trace order, as taken when the frame was built: a listing
  // names the objects by these.
  const std::vector<uintptr_t>& objectAddresses() const { return objectAddresses_; }

  // With false, from now on the step records leave out the objects' states (which cost a step about as
  // much as its motions), for a caller that shows only a later step; true brings them back.
  void recordObjects(bool on) { recordObjects_ = on; }

  // From now on (until called with true) the records leave out the services called about objects,
  // which only the trace shows: the replay page's data has no use for them.
  void collectServiceCalls(bool on) { services_.collectCalls(on); }

  // Calls `watch` as each routine of the extension is entered and left (see Services).
  void watchRoutines(Services::RoutineWatch watch) { services_.watchRoutines(std::move(watch)); }

  // An expression of a NIMBO instance, evaluated now, as an event line would.
  HostValue evaluate(const ExpressionCall& call, const std::string& where) {
    return events_.callExpression(call, where);
  }

  int framesDone() const { return frame_; }
  int nimboCount() const { return objects_.nimboCount(); }
  voHeader* nimboRecord(int index) const { return objects_.nimboRecord(index); }
  const EditData& nimboEditData(int index) const { return *nimbos_.at(index).edit; }
  voRunHeader* runHeader() { return &objects_.runHeader(); }
  const voRunInfo& runInfo() const { return runInfo_; }
  // The main window, the task bar and the clipboard as they stand now.
  DeskState desk() const { return deskState(mainWindow_); }

 private:
  struct Nimbo {
    std::unique_ptr<EditData> edit;
    bool created = false;
    bool handled = true;  // HandleRunObject asked to be called again
  };

  void createNimbos();
  void handleNimbos();
  std::vector<std::string> texts();
  std::vector<std::string> listings();
  std::string readText(int nimbo, int expression, const char* where);

  const Extension& extension_;
  const Exports& exports_;
  Scene scene_;
  Editor editor_;
  MainWindow mainWindow_;
  voRunInfo runInfo_;
  Declarations declarations_;
  StepRecord record_;
  ObjectStore objects_;
  Services services_;
  EventRunner events_;
  std::vector<Nimbo> nimbos_;
  std::vector<uintptr_t> objectAddresses_;
  bool listControllers_ = false;
  bool recordObjects_ = true;
  int frame_ = 0;
};

}  // namespace vohost
