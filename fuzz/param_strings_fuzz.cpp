// Numeric parameter strings as every action that takes one reads them: match, convert, or the box.
#include "fuzz/fuzz_input.h"
#include "params/param_strings.h"
#include "platform/desk/desk.h"

using namespace nimbo;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const Text parameter = fuzz::textFields(data, size, 1)[0];
  for (const params::ParamStringUse* use :
       {&params::kOrbitSetupParams, &params::kAngularRotateParams, &params::kGrowRadiusParams,
        &params::kSemiCircleParams, &params::kRhombusParams, &params::kTrapezoidParams}) {
    params::readParamString(parameter.c_str(), *use);
  }
  desk::takeMessageBoxes();  // the boxes of failed reads would pile up
  return 0;
}
