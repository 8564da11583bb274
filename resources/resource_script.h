// The module's Windows resource script, written from the same data that the desk backend serves, so the
// DLL's resources and the catalog cannot drift apart.
#pragma once

#include <ostream>

namespace nimbo::resources {

// Writes the whole script (UTF-8): string table, the three menus, the setup dialog, the two bitmaps and
// the host's data resource.
void writeResourceScript(std::ostream& out);

}  // namespace nimbo::resources
