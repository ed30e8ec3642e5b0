# Reading 10 000 small pictures with PictureInfos, against opening and reading their heads.
if(TARGET tindra_core AND TARGET OrvoLib22)
  add_executable(picture_bench ${CMAKE_CURRENT_SOURCE_DIR}/PictureBench.cpp
                               ${CMAKE_CURRENT_SOURCE_DIR}/BenchSupport.cpp ${CMAKE_CURRENT_SOURCE_DIR}/BenchPictures.cpp
                               ${CMAKE_SOURCE_DIR}/tests/support/JpegBuilder.cpp)
  target_link_libraries(picture_bench PRIVATE tindra_core benchmark::benchmark)
  target_compile_definitions(picture_bench PRIVATE TINDRA_LIBRARY_PATH="$<TARGET_FILE:OrvoLib22>")
  add_dependencies(picture_bench OrvoLib22)
endif()
