# Third-party code for the WebAssembly build: the JSON library is headers only, taken from the build
# machine's package. Only its folder is visible, never the machine's C library headers.
set(NIMBO_HEADER_ONLY_DIR ${CMAKE_BINARY_DIR}/header-only)
file(MAKE_DIRECTORY ${NIMBO_HEADER_ONLY_DIR})
file(CREATE_LINK /usr/include/nlohmann ${NIMBO_HEADER_ONLY_DIR}/nlohmann SYMBOLIC)
add_library(nlohmann_json::nlohmann_json INTERFACE IMPORTED)
set_target_properties(nlohmann_json::nlohmann_json PROPERTIES INTERFACE_INCLUDE_DIRECTORIES ${NIMBO_HEADER_ONLY_DIR})

# Without threads in the browser a regex job runs on the main stack: its size, set at link time, is the
# largest stack a job may ask (platform::kLargeStackBytes).
set(NIMBO_WEB_STACK_BYTES 67108864)
add_compile_definitions(NIMBO_WEB_STACK_BYTES=${NIMBO_WEB_STACK_BYTES})

# Regex errors, bad scenes and failed allocations travel as C++ exceptions, which emscripten only catches
# when asked. WebAssembly's own exceptions (in every browser since 2022) run scenes twice as fast as the
# JavaScript-based ones, which route every call that may throw through JavaScript, and make a smaller
# module; Debian's emscripten ships its libraries built for both.
add_compile_options(-fwasm-exceptions)
add_link_options(-fwasm-exceptions)
