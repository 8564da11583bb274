// Conformance of a built extension, through its exports only: the export list, identity and sizes, the
// catalog against its menus and strings, the editor-version gate and an instance's life cycle.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "vohost/loader/extension.h"

namespace vohost {

struct CheckResult {
  std::string name;
  bool passed = false;
  std::string detail;  // what differed, for a failure
};

std::vector<CheckResult> runChecks(const Extension& extension);

// A line per check, then "N passed, M failed"; true when nothing failed.
bool printChecks(const std::vector<CheckResult>& results, std::ostream& out);

}  // namespace vohost
