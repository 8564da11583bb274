// A run made up in code for the replay page: objects that move the way motions do (waves that wrap
// around the window, orbits that fade in and out, bounces that turn round, still ones that get
// destroyed), with a TEXT, logged values, a message box and desktop changes. The page's tests and its
// size and speed checks use it where no scene moves that many objects.
#pragma once

#include <climits>
#include <cmath>
#include <cstdint>
#include <numbers>
#include <string>
#include <vector>

#include "vohost/scenes/scene.h"
#include "vohost/scenes/trace.h"

namespace vohost::sample {

enum SampleType { kWave, kOrbit, kBouncer, kStill, kLabel, kFar, kSampleTypes };

// `objects` objects in turn of the first five types; with `extremes`, one more whose numbers jump
// between the ends of the 32-bit range.
inline Scene sampleScene(int objects, bool extremes) {
  Scene scene;
  scene.frame = {640, 480, 60, 0};
  for (const char* name : {"Wave", "Orbit", "Bouncer", "Still", "Label", "Far"}) {
    scene.objects.push_back({name, VO_KIND_ACTIVE, {}});
  }
  scene.objects[kLabel].kind = 3;  // a text object: not active
  for (int i = 0; i < objects; ++i) {
    InstanceSettings settings;
    settings.width = 16 + (i * 7) % 25;
    settings.height = 16 + (i * 11) % 25;
    if (i % 2 == 0) {
      settings.hotSpotX = settings.width / 2;
      settings.hotSpotY = settings.height / 2;
    }
    settings.x = (i * 37) % 640;
    settings.y = (i * 53) % 480;
    scene.objects[i % kLabel].instances.push_back(settings);
  }
  if (extremes) scene.objects[kFar].instances.push_back({});
  scene.nimbo.resize(1);
  return scene;
}

// The frame as the sample scene creates it, before the first step: every object where its settings put it.
inline StepRecord sampleCreated(const Scene& scene) {
  StepRecord record;
  record.frame = -1;
  for (int type = 0; type < kSampleTypes; ++type) {
    const std::vector<InstanceSettings>& instances = scene.objects[type].instances;
    for (size_t i = 0; i < instances.size(); ++i) {
      ObjectState object;
      object.type = scene.objects[type].name;
      object.instance = static_cast<int>(i);
      object.active = type != kLabel;
      object.x = instances[i].x;
      object.y = instances[i].y;
      object.direction = instances[i].direction;
      record.objects.push_back(object);
    }
  }
  record.texts = {"TEXT as created"};
  record.desk = {0, 0, scene.frame.width, scene.frame.height, "NIMBO", "normal", true, true, false};
  return record;
}

inline ObjectState sampleObject(const Scene& scene, int type, int index, int step, int steps) {
  const InstanceSettings& start = scene.objects[type].instances[index];
  const int32_t width = scene.frame.width;
  const int seed = index * 5 + type;
  const double k = step;
  ObjectState object;
  object.type = scene.objects[type].name;
  object.instance = index;
  object.active = type != kLabel;
  object.x = start.x;
  object.y = start.y;
  switch (type) {
    case kWave:
      object.x = (start.x + (1 + seed % 4) * step) % (width + 64) - 32;
      object.y = start.y + static_cast<int32_t>(std::lround(30 * std::sin(k * 0.1 + seed)));
      object.animationFrame = (step / 4) % 6;
      break;
    case kOrbit: {
      double angle = k * (0.02 + (seed % 5) * 0.01) + seed;
      double radius = 20 + seed % 60;
      object.x = start.x + static_cast<int32_t>(std::lround(radius * std::cos(angle)));
      object.y = start.y - static_cast<int32_t>(std::lround(radius * std::sin(angle)));
      object.direction = static_cast<int32_t>(std::lround(angle / (2 * std::numbers::pi) * 32) + 8) % 32;
      object.inkEffect = 13;
      object.alpha = 128 + static_cast<int32_t>(std::lround(127 * std::cos(k * 0.05 + seed)));
      break;
    }
    case kBouncer: {
      int32_t span = width - 32, place = (start.x + (2 + seed % 5) * step) % (2 * span);
      object.x = place < span ? place : 2 * span - place;
      object.direction = place < span ? 0 : 16;
      object.animationFrame = step % 2;
      break;
    }
    case kStill:
      object.destroyed = index % 7 == 3 && step >= steps / 2;
      break;
    case kLabel:
      object.x = start.x + step / 100;
      break;
    case kFar:
      object.x = step % 2 ? INT32_MAX : INT32_MIN;
      object.y = step * 1000;
      object.direction = 40;
      object.animationFrame = -5 * step;
      object.alpha = 300;
      object.inkEffect = 13;
      break;
  }
  return object;
}

inline StepRecord sampleStep(const Scene& scene, int step, int steps) {
  StepRecord record;
  record.frame = step;
  for (int type = 0; type < kSampleTypes; ++type) {
    for (size_t i = 0; i < scene.objects[type].instances.size(); ++i)
      record.objects.push_back(sampleObject(scene, type, static_cast<int>(i), step, steps));
  }
  record.texts = {"TEXT of step " + std::to_string(step / 50 * 50) + (step >= 50 ? " </script>" : "")};
  if (step % 30 == 0) {
    record.log = {{"step", step}, {"name", "step " + std::to_string(step)}};
  }
  if (step == 1) record.messageBoxes = {{"Runtime >> sample", "ERROR CODE #SAMPLE_1"}};
  record.desk = {0,
                 0,
                 scene.frame.width,
                 scene.frame.height,
                 step < steps / 3 ? "NIMBO" : "Caption set",
                 step < 2 * steps / 3 ? "normal" : "maximized",
                 true,
                 step < steps / 2,
                 step >= 10};
  return record;
}

}  // namespace vohost::sample
