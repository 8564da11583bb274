// Starting the frame (run information, catalog, NIMBO records) and the frame step.
#include "vohost/simhost/runtime.h"

#include <cassert>
#include <utility>

#include "vohost/error.h"
#include "vohost/scenes/validation.h"
#include "vohost/utf.h"

namespace vohost {

namespace {

constexpr int kGetTEXT = 0;          // expression "Get TEXT$("
constexpr int kControlledList = 14;  // expression "INFO_CtrlledList$("

// The run information a frame needs before anything runs; boxes of an earlier frame are not this one's.
voRunInfo startFrame(const Extension& extension, Editor& editor) {
  extension.requireAll();
  takeMessageBoxes();
  voRunInfo info{};
  extension.exports().GetRunObjectInfos(editor.record(), &info);
  if (!info.conditions || !info.actions || !info.expressions) {
    throw Error("GetRunObjectInfos gave a null jump table");
  }
  return info;
}

}  // namespace

Runtime::Runtime(const Extension& extension, Scene scene, uint32_t hostVersion)
    : extension_(extension),
      exports_(extension.exports()),
      scene_(std::move(scene)),
      editor_(hostVersion),
      mainWindow_(scene_.frame.width, scene_.frame.height),
      runInfo_(startFrame(extension_, editor_)),
      declarations_(exports_, editor_.record(), runInfo_),
      objects_(scene_, mainWindow_.handle()),
      services_(objects_, record_.calls, [this](int nimbo, int code) { events_.raise(nimbo, code); }),
      events_(scene_, declarations_, runInfo_, objects_, services_, record_) {
  validateEvents(scene_, declarations_);
  objectAddresses_ = objects_.sceneObjectAddresses();
  createNimbos();
}

Runtime::~Runtime() {
  for (int i = 0; i < static_cast<int>(nimbos_.size()); ++i) {
    if (nimbos_[i].created) exports_.DestroyRunObject(objects_.nimboRecord(i), 0);
  }
}

void Runtime::createNimbos() {
  uint16_t size = exports_.GetRunObjectDataSize(&objects_.runHeader(), nullptr);
  if (size < sizeof(voHeader)) throw Error("GetRunObjectDataSize is smaller than the object header");
  for (const EditOverrides& overrides : scene_.nimbo) {
    nimbos_.push_back({createEditData(exports_, editor_, overrides), false, true});
    objects_.addNimbo(size);
  }
  for (int i = 0; i < static_cast<int>(nimbos_.size()); ++i) {
    exports_.CreateRunObject(objects_.nimboRecord(i), nimbos_[i].edit->data(), nullptr);
    nimbos_[i].created = true;
  }
}

void Runtime::handleNimbos() {
  for (int i = 0; i < static_cast<int>(nimbos_.size()); ++i) {
    Nimbo& nimbo = nimbos_[i];
    if (!nimbo.handled || objects_.nimboRemoved(i)) continue;
    nimbo.handled = exports_.HandleRunObject(objects_.nimboRecord(i)) == 0;
    services_.reportAfter("HandleRunObject");
  }
}

// Read through the extension's own string expressions, as a designer's event would, so the host never
// looks inside the record. A removed instance has nothing to say.
std::string Runtime::readText(int nimbo, int expression, const char* where) {
  if (objects_.nimboRemoved(nimbo)) return "";
  HostValue value = events_.callExpression({nimbo, expression, {}}, where);
  const auto* text = std::get_if<nimbo::Text>(&value);
  if (!text)
    throw Error(std::string(where) + ": expression " + std::to_string(expression) + " gave a number");
  return toUtf8(*text);
}

std::vector<std::string> Runtime::texts() {
  std::vector<std::string> texts;
  for (int i = 0; i < static_cast<int>(nimbos_.size()); ++i)
    texts.push_back(readText(i, kGetTEXT, "reading the TEXT"));
  return texts;
}

// The listing rebuilds its whole text on every call and changes nothing else, so reading it after a step
// leaves the run as it was.
std::vector<std::string> Runtime::listings() {
  std::vector<std::string> listings;
  if (!listControllers_) return listings;
  for (int i = 0; i < static_cast<int>(nimbos_.size()); ++i)
    listings.push_back(readText(i, kControlledList, "reading the controlled objects"));
  return listings;
}

StepRecord Runtime::created() {
  assert(frame_ == 0);
  StepRecord record;
  record.frame = -1;
  record.desk = deskState(mainWindow_);
  record.objects = objects_.snapshot();
  record.texts = texts();
  record.listings = listings();
  return record;
}

StepRecord Runtime::step() {
  record_ = StepRecord{};
  record_.frame = frame_;
  events_.runPass(frame_);
  // Every NIMBO instance steps after these marks: their records may go once the step is over.
  std::vector<int> seenByEveryStep = objects_.markedObjects();
  handleNimbos();
  objects_.applyDestroys();
  objects_.releaseRecords(seenByEveryStep);
  record_.messageBoxes = takeMessageBoxes();
  record_.desk = deskState(mainWindow_);
  if (recordObjects_) record_.objects = objects_.snapshot();
  record_.texts = texts();
  record_.listings = listings();
  ++frame_;
  return std::move(record_);
}

}  // namespace vohost
