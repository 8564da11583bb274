// Writes the module's resource script to standard output; resources/nimbo.rc is its output, kept in the
// tree for the Windows build, where the generator cannot run.
#include <iostream>

#include "resources/resource_script.h"

int main() {
  nimbo::resources::writeResourceScript(std::cout);
  return std::cout.good() ? 0 : 1;
}
