# The default grid layout of the item list, which the program reads from its own folder.

add_custom_command(
  OUTPUT ${CMAKE_BINARY_DIR}/QUNTAGRDE.LAY
  COMMAND ${CMAKE_COMMAND} -E copy_if_different ${CMAKE_SOURCE_DIR}/data/QUNTAGRDE.LAY ${CMAKE_BINARY_DIR}/QUNTAGRDE.LAY
  DEPENDS ${CMAKE_SOURCE_DIR}/data/QUNTAGRDE.LAY
  COMMENT "Copying the default grid layout")

add_custom_target(qunta_view_files ALL DEPENDS ${CMAKE_BINARY_DIR}/QUNTAGRDE.LAY)
