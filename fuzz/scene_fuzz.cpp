// The scene reader: any text either reads as a scene or is refused with an error naming its place.
#include <string>

#include "vohost/error.h"
#include "vohost/scenes/scene.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  try {
    vohost::parseScene(std::string(reinterpret_cast<const char*>(data), size));
  } catch (const vohost::Error&) {
    // refused, as a designer's broken scene is
  }
  return 0;
}
