// Numeric parameter strings as every action that takes one reads them: match, convert, or the box.
#include "align/param_strings.h"
#include "fuzz/fuzz_input.h"
#include "platform/desk/desk.h"

using namespace nimbo;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const Text parameter = fuzz::textFields(data, size, 1)[0];
  for (const align::ParamStringUse* use :
       {&align::kOrbitSetupParams, &align::kAngularRotateParams, &align::kGrowRadiusParams,
        &align::kSemiCircleParams, &align::kRhombusParams, &align::kTrapezoidParams}) {
    align::readParamString(parameter.c_str(), *use);
  }
  desk::takeMessageBoxes();  // the boxes of failed reads would pile up
  return 0;
}
