// The three jump tables, indexed by code. A routine whose subsystem has not landed yet answers with
// the neutral value: 0, or the empty string marked as a string result.
#include "frame/routines.h"

namespace nimbo::frame {

namespace {

int32_t VO_CALL pendingCondition(voHeader*, voValue, voValue) { return 0; }
int32_t VO_CALL pendingAction(voHeader*, voValue, voValue) { return 0; }
voValue VO_CALL pendingIntegerExpression(voHeader*, voValue) { return 0; }
voValue VO_CALL pendingStringExpression(voHeader* header, voValue) {
  static const Char empty[1] = {0};
  return stringResult(runData(header), empty);
}

// Expression 18 "* Not Yet implemented (05C rev.4) *$(" answers 0 for good.
voValue VO_CALL notYetImplemented(voHeader*, voValue) { return 0; }

constexpr voConditionRoutine C = pendingCondition;
constexpr voActionRoutine A = pendingAction;
constexpr voExpressionRoutine I = pendingIntegerExpression;
constexpr voExpressionRoutine S = pendingStringExpression;

}  // namespace

const voConditionRoutine conditionRoutines[kConditionCount] = {C, C, C, C, C, C, C, C};

const voActionRoutine actionRoutines[kActionCount] = {
    A, A, A, A, A, A, A, A, A, A,  // 0-9
    A, A, A, A, A, A, A, A, A, A,  // 10-19
    A, A, A, A, A, A, A, A, A, A,  // 20-29
    A, A, A, A, A, A, A, A, A, A,  // 30-39
    A, A, A, A, A, A, A, A, A, A,  // 40-49
    A, A, A, A,                    // 50-53
};

const voExpressionRoutine expressionRoutines[kExpressionCount] = {
    S, S, I, I, S, S, S, I, S, I,  // 0-9
    I, S, I, I, S, S, S, I,        // 10-17
    notYetImplemented,             // 18
};

}  // namespace nimbo::frame
