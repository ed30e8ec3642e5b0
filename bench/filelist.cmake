# Adding 10 000 handed-over pictures to the main window's list, against reading the same files
# with PictureInfos alone.
if(TARGET tindra_gui AND TARGET OrvoLib22)
  add_executable(filelist_bench ${CMAKE_CURRENT_SOURCE_DIR}/FileListBench.cpp
                                ${CMAKE_CURRENT_SOURCE_DIR}/BenchSupport.cpp ${CMAKE_CURRENT_SOURCE_DIR}/BenchPictures.cpp
                                ${CMAKE_SOURCE_DIR}/tests/support/JpegBuilder.cpp
                                ${CMAKE_SOURCE_DIR}/tests/support/ScriptedUiServices.cpp)
  target_link_libraries(filelist_bench PRIVATE tindra_gui benchmark::benchmark)
  target_compile_definitions(filelist_bench PRIVATE TINDRA_LIBRARY_PATH="$<TARGET_FILE:OrvoLib22>")
  add_dependencies(filelist_bench OrvoLib22)
endif()
