# Reading, planning and renaming 10 000 and 100 000 pictures: linear growth, fitted.
if(TARGET tindra_core AND TARGET OrvoLib22)
  add_executable(scale_bench ${CMAKE_CURRENT_SOURCE_DIR}/ScaleBench.cpp ${CMAKE_CURRENT_SOURCE_DIR}/BenchSupport.cpp
                             ${CMAKE_CURRENT_SOURCE_DIR}/BenchPictures.cpp ${CMAKE_SOURCE_DIR}/tests/support/JpegBuilder.cpp)
  target_link_libraries(scale_bench PRIVATE tindra_core benchmark::benchmark)
  target_compile_definitions(scale_bench PRIVATE TINDRA_LIBRARY_PATH="$<TARGET_FILE:OrvoLib22>")
  add_dependencies(scale_bench OrvoLib22)
endif()
