# Reading 10 000 mixed HEIC, DNG, MP4 and JPEG files with PictureInfos, against opening and
# reading their heads.
if(TARGET tindra_core AND TARGET OrvoLib22)
  add_executable(formats_bench ${CMAKE_CURRENT_SOURCE_DIR}/FormatsBench.cpp
                               ${CMAKE_CURRENT_SOURCE_DIR}/BenchSupport.cpp ${CMAKE_CURRENT_SOURCE_DIR}/BenchPictures.cpp
                               ${CMAKE_SOURCE_DIR}/tests/support/JpegBuilder.cpp
                               ${CMAKE_SOURCE_DIR}/tests/support/FormatBuilder.cpp)
  target_link_libraries(formats_bench PRIVATE tindra_core benchmark::benchmark)
  target_compile_definitions(formats_bench PRIVATE TINDRA_LIBRARY_PATH="$<TARGET_FILE:OrvoLib22>")
  add_dependencies(formats_bench OrvoLib22)
endif()
