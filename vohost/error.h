// The one exception vohost raises for bad input (a broken scene, a missing library or export, an unknown
// code) and for an extension that misuses a host service. The command line turns it into a message and
// a non-zero exit.
#pragma once

#include <stdexcept>

namespace vohost {

struct Error : std::runtime_error {
  using std::runtime_error::runtime_error;
};

}  // namespace vohost
