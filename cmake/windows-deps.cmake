# Third-party code for the Windows cross build: the distribution ships GoogleTest as sources and the
# JSON and command-line libraries as headers only, so they are built or included from there.
if(NIMBO_TESTS AND NOT TARGET GTest::gtest_main)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
  add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)
endif()

# Only these two header folders of the build machine are visible, never its C library headers.
set(NIMBO_HEADER_ONLY_DIR ${CMAKE_BINARY_DIR}/header-only)
file(MAKE_DIRECTORY ${NIMBO_HEADER_ONLY_DIR})
foreach(folder nlohmann CLI)
  file(CREATE_LINK /usr/include/${folder} ${NIMBO_HEADER_ONLY_DIR}/${folder} SYMBOLIC)
endforeach()
add_library(nlohmann_json::nlohmann_json INTERFACE IMPORTED)
set_target_properties(nlohmann_json::nlohmann_json PROPERTIES INTERFACE_INCLUDE_DIRECTORIES ${NIMBO_HEADER_ONLY_DIR})
add_library(CLI11::CLI11 INTERFACE IMPORTED)
set_target_properties(CLI11::CLI11 PROPERTIES INTERFACE_INCLUDE_DIRECTORIES ${NIMBO_HEADER_ONLY_DIR})
