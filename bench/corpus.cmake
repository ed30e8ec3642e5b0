# Writes a folder of small camera pictures for bench/compare.sh.
if(TARGET Qt6::Core)
  add_executable(bench_corpus ${CMAKE_CURRENT_SOURCE_DIR}/MakeCorpus.cpp ${CMAKE_CURRENT_SOURCE_DIR}/BenchPictures.cpp
                              ${CMAKE_SOURCE_DIR}/tests/support/JpegBuilder.cpp)
  target_include_directories(bench_corpus PRIVATE ${CMAKE_SOURCE_DIR})
  target_link_libraries(bench_corpus PRIVATE Qt6::Core)
endif()
