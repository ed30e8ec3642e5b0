# Renaming 10 000 pictures with the rename engine, against a plain loop that opens and reads
# each file's head and renames it twice.
if(TARGET tindra_core AND TARGET OrvoLib22)
  add_executable(rename_bench ${CMAKE_CURRENT_SOURCE_DIR}/RenameBench.cpp
                              ${CMAKE_CURRENT_SOURCE_DIR}/BenchSupport.cpp ${CMAKE_CURRENT_SOURCE_DIR}/BenchPictures.cpp
                              ${CMAKE_SOURCE_DIR}/tests/support/JpegBuilder.cpp)
  target_link_libraries(rename_bench PRIVATE tindra_core benchmark::benchmark)
  target_compile_definitions(rename_bench PRIVATE TINDRA_LIBRARY_PATH="$<TARGET_FILE:OrvoLib22>")
  add_dependencies(rename_bench OrvoLib22)
endif()
