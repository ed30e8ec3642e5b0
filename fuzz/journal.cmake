# The rename journal reader on arbitrary bytes. Its sources are compiled into the fuzzer so
# that they carry its instrumentation.
tindra_add_fuzzer(journal tindra_core)
if(TARGET journal_fuzzer)
  target_sources(journal_fuzzer PRIVATE ${CMAKE_SOURCE_DIR}/app/naming/RenameJournal.cpp)
  target_include_directories(journal_fuzzer PRIVATE ${CMAKE_SOURCE_DIR})
endif()
