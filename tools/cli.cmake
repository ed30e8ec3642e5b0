# tindra-cli: picture information, future names, rename plan and renaming from a terminal.
file(GLOB CLI_SOURCES CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/cli/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/cli/*.h)
if(TARGET tindra_core AND CLI_SOURCES)
  add_executable(tindra-cli ${CLI_SOURCES})
  target_link_libraries(tindra-cli PRIVATE tindra_core)
  if(TARGET OrvoLib22)
    add_dependencies(tindra-cli OrvoLib22)
  endif()
endif()
