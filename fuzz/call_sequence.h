// The stateful fuzzer's input: a sequence of calls (any action, condition or expression, on one of two
// NIMBO instances), frame steps, destroys and the user's hand on the desktop, read from bytes into a
// scene that vohost runs. The example scenes are written into the same bytes as the corpus's seeds.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

#include "vohost/loader/catalog_reader.h"
#include "vohost/scenes/scene.h"

namespace nimbo::fuzz {

// The three jump tables' entries by code, as the extension declares them.
using Catalog = std::array<std::vector<std::optional<vohost::CatalogEntryInfo>>, 3>;

Catalog readCatalog(const vohost::Extension& extension);

// A scene of two NIMBO instances, three active objects and a backdrop, whose event list makes the
// calls, each on the frame step it stands in. Folder and rename names are cut to plain names and a
// folder is taken inside `sandbox`, so no call lists or renames anything outside it.
vohost::Scene decodeCalls(const uint8_t* data, size_t size, const Catalog& catalog, const Text& sandbox);

// The calls of a scene's event list, in that format: each line's on the step its frame condition names.
std::vector<uint8_t> encodeScene(const vohost::Scene& scene);

}  // namespace nimbo::fuzz
