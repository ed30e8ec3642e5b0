# Renaming 10 000 pictures with the rename engine and its journal, against the same engine
# without journal.
if(TARGET tindra_core AND TARGET OrvoLib22)
  add_executable(journal_bench ${CMAKE_CURRENT_SOURCE_DIR}/JournalBench.cpp ${CMAKE_CURRENT_SOURCE_DIR}/BenchSupport.cpp ${CMAKE_CURRENT_SOURCE_DIR}/BenchPictures.cpp
                               ${CMAKE_SOURCE_DIR}/tests/support/JpegBuilder.cpp)
  target_link_libraries(journal_bench PRIVATE tindra_core benchmark::benchmark)
  target_compile_definitions(journal_bench PRIVATE TINDRA_LIBRARY_PATH="$<TARGET_FILE:OrvoLib22>")
  add_dependencies(journal_bench OrvoLib22)
endif()
