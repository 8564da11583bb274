// The one barrier between the extension and the host. An exception that unwinds into the host's own
// frames ends the game, so every export and every jump-table routine runs behind `shielded`: anything
// thrown inside becomes the routine's own failure result and never leaves.
#pragma once

#include "frame/catalog.h"
#include "host/exports.h"
#include "record/host_access.h"

namespace nimbo::frame {

// Runs `routine`; anything it throws becomes `failure()`.
template <typename Routine, typename Failure>
auto shielded(Routine routine, Failure failure) noexcept -> decltype(routine()) {
  try {
    return routine();
  } catch (...) {
    return failure();
  }
}

// The failure result of a routine that has no message of its own: 0, a null pointer, or nothing.
template <typename Routine>
auto shielded(Routine routine) noexcept -> decltype(routine()) {
  return shielded(routine, [] { return decltype(routine())(); });
}

// A string expression that failed still hands the host a string: the empty one, valid for ever.
inline voValue expressionFailure(voHeader* header, int code) noexcept {
  if (!(findEntry(CatalogKind::expression, code).flags() & VO_EXPRESSION_RESULT_STRING)) return 0;
  return stringResult(runData(header), kEmpty);
}

// Jump-table entries: the routine behind the barrier, with the routine's own calling convention and
// arguments, so the host pops the same bytes.
template <voActionRoutine routine>
int32_t VO_CALL guardedRoutine(voHeader* rd, voValue param1, voValue param2) noexcept {
  return shielded([&] { return routine(rd, param1, param2); });
}

template <voExpressionRoutine routine, int code>
voValue VO_CALL guardedExpression(voHeader* rd, voValue hostValue) noexcept {
  return shielded([&] { return routine(rd, hostValue); }, [&] { return expressionFailure(rd, code); });
}

}  // namespace nimbo::frame
