# One target per folder, and a folder's headers seen only through its target: each folder gets an include
# root of its own in the build tree that holds that one folder, and its target hands the root to the
# targets that link it. A folder that includes a folder it does not link fails to compile, so the links
# below are the layer table of the README.

# Gives `target` the include root of `folder` (a folder of the source tree); `scope` is how far it is
# handed on: PUBLIC or INTERFACE.
function(nimbo_layer target folder scope)
  set(root ${PROJECT_BINARY_DIR}/layers/${folder})
  if(NOT EXISTS ${root}/${folder})
    file(MAKE_DIRECTORY ${root})
    file(CREATE_LINK ${PROJECT_SOURCE_DIR}/${folder} ${root}/${folder} SYMBOLIC)
  endif()
  target_include_directories(${target} ${scope} ${root})
endfunction()
