// A runtime record created through the exports with a minimal host around it, for benchmarks that
// call routines the way the host does.
#pragma once

#include <cstdlib>
#include <vector>

#include "frame/editdata.h"
#include "frame/exports.h"
#include "record/rundata.h"

namespace bench {

// Expression parameters handed out in order, as the host evaluates them.
inline std::vector<voValue> expressionParameters;
inline size_t nextExpressionParameter = 0;
inline int raisedCount = 0;

inline voValue VO_CALL firstExpressionParameter(voHeader*, int32_t, voValue) {
  nextExpressionParameter = 0;
  return expressionParameters.at(nextExpressionParameter++);
}
inline voValue VO_CALL nextExpressionParameterOf(voHeader*, int32_t, voValue) {
  return expressionParameters.at(nextExpressionParameter++);
}
inline void VO_CALL countEvent(voHeader*, int32_t, int32_t) {
  ++raisedCount;
}

struct BenchFrame {
  voServices services{};
  voAppHeader app{60};
  voFrame frame{640, 480};
  voRunHeader runHeader{};
  void* block = std::calloc(1, nimbo::kRunDataSize);
  voHeader* rd = static_cast<voHeader*>(block);

  BenchFrame() {
    services.generateEvent = countEvent;
    services.getFirstExpressionParameter = firstExpressionParameter;
    services.getNextExpressionParameter = nextExpressionParameterOf;
    runHeader.rhServices = &services;
    runHeader.rhApp = &app;
    runHeader.rhFrame = &frame;
    rd->hoAdRunHeader = &runHeader;
    nimbo::EDITDATA edit{};
    edit.eHeader.size = sizeof(edit);
    CreateRunObject(rd, &edit, nullptr);
  }
  ~BenchFrame() {
    DestroyRunObject(rd, 0);
    std::free(block);
  }
  BenchFrame(const BenchFrame&) = delete;
  BenchFrame& operator=(const BenchFrame&) = delete;

  nimbo::RUNDATA* record() { return nimbo::runData(rd); }
};

}  // namespace bench
