# One library target per source folder. Sources are picked up from the folder itself, so that adding a
# class means adding its two files.
function(qunta_library name folder)
  cmake_parse_arguments(ARG "CORE" "" "LINK" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${folder}/*.cpp ${folder}/*.h)
  file(GLOB implementations CONFIGURE_DEPENDS ${folder}/*.cpp)
  if(NOT implementations)
    # A folder that holds no code yet still gives its name to the layers above it.
    add_library(${name} INTERFACE)
    target_include_directories(${name} INTERFACE ${CMAKE_SOURCE_DIR}/src)
    target_link_libraries(${name} INTERFACE ${ARG_LINK})
    return()
  endif()
  add_library(${name} STATIC ${sources})
  target_include_directories(${name} PUBLIC ${CMAKE_SOURCE_DIR}/src)
  target_link_libraries(${name} PUBLIC ${ARG_LINK})
  if(ARG_CORE)
    qunta_forbid_gui_includes(${name} ${folder})
  endif()
endfunction()

# The core layers may use QtCore (and SQLite) only: a GUI include there stops the build.
function(qunta_forbid_gui_includes target folder)
  set(stamp ${CMAKE_CURRENT_BINARY_DIR}/${target}.core-includes.stamp)
  file(GLOB sources CONFIGURE_DEPENDS ${folder}/*.cpp ${folder}/*.h)
  get_target_property(core_dirs Qt6::Core INTERFACE_INCLUDE_DIRECTORIES)
  string(REPLACE ";" "|" core_dirs "${core_dirs}")
  string(REPLACE ";" "|" source_list "${sources}")
  add_custom_command(
    OUTPUT ${stamp}
    COMMAND ${CMAKE_COMMAND} -DSTAMP=${stamp} "-DQTCORE_DIR=${core_dirs}" "-DSOURCES=${source_list}"
            -P ${CMAKE_SOURCE_DIR}/cmake/CheckCoreIncludes.cmake
    VERBATIM
    DEPENDS ${sources} ${CMAKE_SOURCE_DIR}/cmake/CheckCoreIncludes.cmake
    COMMENT "Checking that ${target} includes QtCore headers only")
  add_custom_target(${target}_core_check DEPENDS ${stamp})
  add_dependencies(${target} ${target}_core_check)
endfunction()
