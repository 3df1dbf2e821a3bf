# Files the planner needs beside its executable in the build folder: the user manual, which the Help
# menu opens, and the bundled demo timetable, made by qunta-tool around the day of the build.

add_custom_command(
  OUTPUT ${CMAKE_BINARY_DIR}/manual.html
  COMMAND ${CMAKE_COMMAND} -E copy_if_different ${CMAKE_SOURCE_DIR}/docs/manual.html ${CMAKE_BINARY_DIR}/manual.html
  DEPENDS ${CMAKE_SOURCE_DIR}/docs/manual.html
  COMMENT "Copying the user manual")

add_custom_command(
  OUTPUT ${CMAKE_BINARY_DIR}/velkor-demo.qtf
  COMMAND ${CMAKE_COMMAND} -DTOOL=$<TARGET_FILE:qunta-tool> -DOUTPUT=${CMAKE_BINARY_DIR}/velkor-demo.qtf
          -P ${CMAKE_SOURCE_DIR}/cmake/MakeDemoTimetable.cmake
  DEPENDS qunta-tool ${CMAKE_SOURCE_DIR}/cmake/MakeDemoTimetable.cmake
  COMMENT "Generating the demo timetable velkor-demo.qtf")

add_custom_target(qunta_board_files ALL DEPENDS ${CMAKE_BINARY_DIR}/manual.html ${CMAKE_BINARY_DIR}/velkor-demo.qtf)
