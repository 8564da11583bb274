// The message boxes the extension showed: read from the simulated desktop's log on Linux; a Windows
// build reads and dismisses the real boxes with a hook and implements the same function.
#pragma once

#include <string>
#include <vector>

namespace vohost {

struct ShownMessageBox {
  std::string caption;  // UTF-8
  std::string text;
};

// The boxes shown since the last call, oldest first.
std::vector<ShownMessageBox> takeMessageBoxes();

}  // namespace vohost
