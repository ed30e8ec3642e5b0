# The windows (main window, dialogs, splash) as the static library tindra_gui, and the program
# tindra itself. The help pages are copied beside the program as <program>.help/.
file(GLOB GUI_SOURCES CONFIGURE_DEPENDS
  ${CMAKE_CURRENT_SOURCE_DIR}/ui/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/ui/*.h
  ${CMAKE_CURRENT_SOURCE_DIR}/mainwindow/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/mainwindow/*.h
  ${CMAKE_CURRENT_SOURCE_DIR}/dialogs/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/dialogs/*.h)

if(TARGET tindra_core AND GUI_SOURCES)
  add_library(tindra_gui STATIC ${GUI_SOURCES})
  target_include_directories(tindra_gui PUBLIC ${CMAKE_SOURCE_DIR})
  target_link_libraries(tindra_gui PUBLIC tindra_core Qt6::Widgets Qt6::Gui Qt6::PrintSupport)
  target_compile_definitions(tindra_gui PRIVATE
    TINDRA_VERSION_MAJOR=${PROJECT_VERSION_MAJOR}
    TINDRA_VERSION_MINOR=${PROJECT_VERSION_MINOR})

  add_executable(tindra ${CMAKE_CURRENT_SOURCE_DIR}/main.cpp)
  target_link_libraries(tindra PRIVATE tindra_gui)

  file(GLOB HELP_PAGES CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/resources/help/*)
  set(help_outputs "")
  foreach(page ${HELP_PAGES})
    get_filename_component(name ${page} NAME)
    set(out ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/tindra.help/${name})
    add_custom_command(OUTPUT ${out} COMMAND ${CMAKE_COMMAND} -E copy_if_different ${page} ${out}
      DEPENDS ${page} VERBATIM)
    list(APPEND help_outputs ${out})
  endforeach()
  add_custom_target(tindra_help ALL DEPENDS ${help_outputs})
  add_dependencies(tindra tindra_help)

  install(TARGETS tindra RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  install(FILES ${HELP_PAGES} DESTINATION ${TINDRA_INSTALL_PKGDATADIR}/help)
endif()

# The program creates its helper objects from the library at run time: build it alongside.
if(TARGET tindra AND TARGET OrvoLib22)
  add_dependencies(tindra OrvoLib22)
endif()
