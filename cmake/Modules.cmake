# Adds the subfolders named by ARGN that exist and hold a CMakeLists.txt: each program module
# (xml, config, player, shell) brings its own sources and tests this way.
function(pellox_add_module_dirs)
  foreach(module IN LISTS ARGN)
    if(EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/${module}/CMakeLists.txt)
      add_subdirectory(${module})
    endif()
  endforeach()
endfunction()

set(PELLOX_MODULES xml config player shell)
