// Reading what a frame step logged, for tests that run scenes through the host runtime.
#pragma once

#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "vohost/scenes/trace.h"

namespace vohost {

// The value logged under `name`; a test failure, and an empty value, when nothing was.
inline const TraceValue& logged(const StepRecord& record, const std::string& name) {
  for (const LogEntry& entry : record.log) {
    if (entry.name == name) return entry.value;
  }
  ADD_FAILURE() << "nothing logged as " << name;
  static const TraceValue none;
  return none;
}

inline std::string loggedText(const StepRecord& record, const std::string& name) {
  const TraceValue& value = logged(record, name);
  return std::holds_alternative<std::string>(value) ? std::get<std::string>(value) : "(a number)";
}

inline int32_t loggedNumber(const StepRecord& record, const std::string& name) {
  const TraceValue& value = logged(record, name);
  return std::holds_alternative<int32_t>(value) ? std::get<int32_t>(value) : INT32_MIN;
}

}  // namespace vohost
