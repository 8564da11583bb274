// The frame step over many controlled objects (a mix of wrap, flip, wave and orbit) against a
// hand-written loop doing the same arithmetic on a plain array of the same objects, with the host's
// redraw and animation calls as no-ops. Run at 10 000 and 100 000 entries, each against the loop at the
// same size (the target is at most 1.2 at both); at 100 000 neither the list nor the objects fit the
// caches.
#include <benchmark/benchmark.h>

#include <time.h>

#include <map>
#include <memory>
#include <vector>

#include "bench/bench_frame.h"
#include "motion/registry.h"
#include "record/trigonometry.h"

namespace {

using bench::BenchFrame;
using nimbo::motion::ControlEntry;

void VO_CALL noRedraw(voHeader*, int32_t, int32_t) {}
void VO_CALL noAnimation(voHeader*, int32_t) {}

constexpr int32_t kWidth = 640, kHeight = 480, kSize = 32;

struct Objects {
  voObjInfo info{};
  std::vector<voObject> list;

  Objects(voRunHeader* run, size_t count) : list(count) {
    info.oilNObjects = static_cast<int32_t>(count);
    for (size_t i = 0; i < count; ++i) {
      voHeader& header = list[i].rHo;
      header.hoAdRunHeader = run;
      header.hoOiList = &info;
      header.hoType = VO_KIND_ACTIVE;
      header.hoX = static_cast<int32_t>(i % kWidth);
      header.hoY = static_cast<int32_t>(i % kHeight);
      header.hoImgWidth = kSize;
      header.hoImgHeight = kSize;
    }
  }
};

// Entry i of the mix: a wrap across, a flip down, a wave across, an orbit.
ControlEntry mixedEntry(size_t i, const voObject& object) {
  ControlEntry entry;
  entry.groupName = NIMBO_TEXT("Mix");
  entry.wallRight = kWidth;
  entry.wallBottom = kHeight;
  switch (i % 4) {
    case 0:
      entry.motionKind = nimbo::motion::kHorizontal;
      entry.xSpeed = 3;
      break;
    case 1:
      entry.motionKind = nimbo::motion::kVertical;
      entry.flip = 1;
      entry.ySpeed = 2;
      break;
    case 2:
      entry.motionKind = nimbo::motion::kHorizontalWave;
      entry.xSpeed = 1;
      entry.radius1 = 20;
      entry.angularVelocity = 5;
      entry.originY = object.rHo.hoY;
      break;
    default:
      entry.motionKind = nimbo::motion::kOrbit;
      entry.radius1 = entry.radius2 = 30;
      entry.angularVelocity = 3;
      entry.angle = 180;
      entry.originX = object.rHo.hoX;
      entry.originY = object.rHo.hoY;
      break;
  }
  return entry;
}

// A frame with `count` objects under control. Each registration looks for its object among the
// entries before it, so 100 000 take seconds to register: each size is registered once, and every
// repetition steps on from where the last one left the objects.
struct ControlledFrame {
  BenchFrame bench;
  Objects objects;

  explicit ControlledFrame(size_t count) : objects(&bench.runHeader, count) {
    bench.services.redrawObject = noRedraw;
    bench.services.updateAnimation = noAnimation;
    for (size_t i = 0; i < count; ++i)
      nimbo::motion::registerEntry(bench.record(), &objects.list[i], mixedEntry(i, objects.list[i]));
  }
};

// The frame of each kind and size, made at its first use and kept for the whole run.
template <class Frame>
Frame& frameOf(size_t count) {
  static std::map<size_t, std::unique_ptr<Frame>> frames;
  std::unique_ptr<Frame>& frame = frames[count];
  if (!frame) frame = std::make_unique<Frame>(count);
  return *frame;
}

void BM_MotionFrameStep(benchmark::State& state) {
  ControlledFrame& frame = frameOf<ControlledFrame>(static_cast<size_t>(state.range(0)));
  for (auto _ : state) HandleRunObject(frame.bench.rd);
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_MotionFrameStep)->Arg(10000)->Arg(100000);

// Baseline: the same motions written directly over a plain array, with the same arithmetic per object:
// the sleep gate's checks and its B, limits from the walls and the hot spot, the grow and fixed-angle
// checks, the centre offsets, directions, D, the changed flag and the host's calls.
struct Plain {
  voObject* object;
  int32_t kind, flip, xSpeed, ySpeed, angle, velocity, radius1, radius2, originX, originY, offsetX, offsetY;
  int32_t wallTop, wallBottom, wallLeft, wallRight;
  int32_t sleepCount, repetition, rotationAngle;
  uint8_t inInterval, growRadius;
};

Plain plainOf(const ControlEntry& e, voObject* object) {
  return {object,       e.motionKind,      e.flip,          e.xSpeed,     e.ySpeed,
          e.angle,      e.angularVelocity, e.radius1,       e.radius2,    e.originX,
          e.originY,    e.centreOffsetX,   e.centreOffsetY, e.wallTop,    e.wallBottom,
          e.wallLeft,   e.wallRight,       e.sleepCount,    e.repetition, e.rotationAngle,
          e.inInterval, e.growRadius};
}

void writeValue(voObject& object, int slot, int32_t value) {
  object.rov[slot].type = VO_ALTERABLE_INTEGER;
  object.rov[slot].value.integer = value;
}

void turn(voObject& o, int32_t direction) {
  o.roc.rcDir = o.roa.raAnimDir = direction;
}

void moveAcross(Plain& p, voHeader& h) {
  int32_t next = h.hoX + p.xSpeed;
  int32_t left = p.wallLeft - h.hoImgWidth + h.hoImgXSpot + 1, right = p.wallRight + h.hoImgXSpot + 1;
  h.hoX = next >= right ? left : next <= left ? right : next;
}

void fallOrBounce(Plain& p, voObject& o, const voServices& services) {
  voHeader& h = o.rHo;
  int32_t next = h.hoY + p.ySpeed;
  h.hoY = next;
  if (next >= p.wallBottom + h.hoImgYSpot) {
    p.ySpeed = -p.ySpeed;
    turn(o, 8);
  } else if (next <= p.wallTop - h.hoImgHeight + h.hoImgYSpot) {
    p.ySpeed = p.ySpeed < 0 ? -p.ySpeed : p.ySpeed;
    turn(o, 24);
  }
  services.updateAnimation(&h, 0);
}

void wave(Plain& p, voHeader& h) {
  double offset = nimbo::sineOfDegrees(p.angle) * (p.growRadius ? 0 : p.radius1);
  int32_t next = h.hoX + p.xSpeed;
  int32_t left = p.wallLeft - h.hoImgWidth, right = p.wallRight + h.hoImgWidth;
  h.hoX = next >= right ? left : next <= left ? right : next;
  h.hoY = static_cast<int32_t>(p.originY + offset);
  p.angle += p.velocity;
}

void orbit(Plain& p, voObject& o) {
  int32_t step = p.rotationAngle == 0 ? p.velocity : 0;
  double radius1 = p.growRadius ? 0 : p.radius1, radius2 = p.growRadius ? 0 : p.radius2;
  double turned = static_cast<double>(p.angle) + step;
  double x = p.originX + p.offsetX, y = p.originY + p.offsetY;
  o.rHo.hoX = static_cast<int32_t>(x - nimbo::sineOfDegrees(turned) * radius1);
  o.rHo.hoY = static_cast<int32_t>(y + nimbo::cosineOfDegrees(turned) * radius2);
  p.angle = static_cast<int32_t>(turned) % 360;
  if (p.velocity < 0 && p.angle < 0) p.angle += 360;
  writeValue(o, 3, p.angle - 180);
}

void movePlain(Plain& p, const voServices& services) {
  voObject& o = *p.object;
  if (p.inInterval || p.sleepCount > 0 || p.repetition != 0) return;  // no cycle in this mix
  writeValue(o, 1, 0);
  switch (p.kind) {
    case nimbo::motion::kHorizontal:
      moveAcross(p, o.rHo);
      break;
    case nimbo::motion::kVertical:
      fallOrBounce(p, o, services);
      break;
    case nimbo::motion::kHorizontalWave:
      wave(p, o.rHo);
      break;
    default:
      orbit(p, o);
      break;
  }
  o.roc.rcChanged = 1;
  services.redrawObject(&o.rHo, 0, 0);
}

// The hand loop's own frame and objects, made once per size like the controlled frame's.
struct PlainFrame {
  BenchFrame bench;
  Objects objects;
  std::vector<Plain> plain;

  explicit PlainFrame(size_t count) : objects(&bench.runHeader, count) {
    bench.services.redrawObject = noRedraw;
    bench.services.updateAnimation = noAnimation;
    for (size_t i = 0; i < count; ++i)
      plain.push_back(plainOf(mixedEntry(i, objects.list[i]), &objects.list[i]));
  }

  void step() {
    bench.services.generateEvent(bench.rd, 0, 0);
    bench.record()->regexErrorFlag = 0;
    for (Plain& p : plain) movePlain(p, bench.services);
    benchmark::ClobberMemory();
  }
};

void BM_MotionBaseline(benchmark::State& state) {
  PlainFrame& frame = frameOf<PlainFrame>(static_cast<size_t>(state.range(0)));
  for (auto _ : state) frame.step();
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_MotionBaseline)->Arg(10000)->Arg(100000);

// The frame step and the hand loop in turn within one benchmark: a slow moment of a shared machine then
// falls on both alike, where two benchmarks run apart each meet their own. Each turn is a few steps of
// one, the first untimed, so that the timed ones find their own data in the caches as when run alone.
// "ratio" is the frame step's thread CPU time over the hand loop's.
constexpr int kStepsPerTurn = 4;

template <class Step>
double cpuSecondsOfTurn(Step step) {
  step();
  timespec start{}, end{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &start);
  for (int i = 1; i < kStepsPerTurn; ++i) step();
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &end);
  return static_cast<double>(end.tv_sec - start.tv_sec) +
         static_cast<double>(end.tv_nsec - start.tv_nsec) * 1e-9;
}

void BM_MotionFrameStepByHandLoop(benchmark::State& state) {
  ControlledFrame& controlled = frameOf<ControlledFrame>(static_cast<size_t>(state.range(0)));
  PlainFrame& plain = frameOf<PlainFrame>(static_cast<size_t>(state.range(0)));
  double frameStep = 0, handLoop = 0;
  for (auto _ : state) {
    frameStep += cpuSecondsOfTurn([&] { HandleRunObject(controlled.bench.rd); });
    handLoop += cpuSecondsOfTurn([&] { plain.step(); });
  }
  state.counters["ratio"] = handLoop > 0 ? frameStep / handLoop : 0;
}
BENCHMARK(BM_MotionFrameStepByHandLoop)->Arg(10000)->Arg(100000);

}  // namespace
