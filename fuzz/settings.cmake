# Settings-file loading: needs the program's core and the library it reaches at run time.
if(TARGET tindra_core AND TARGET OrvoLib22)
  tindra_add_fuzzer(settings tindra_core)
  foreach(t settings_fuzzer settings_replay)
    if(TARGET ${t})
      add_dependencies(${t} OrvoLib22)
      target_compile_definitions(${t} PRIVATE TINDRA_LIBRARY_PATH="$<TARGET_FILE:OrvoLib22>")
    endif()
  endforeach()
  # The file parsing runs inside the library. When a fuzz build instruments every target
  # (CMAKE_CXX_FLAGS=-fsanitize=fuzzer-no-link,...), the library's coverage and sanitizer
  # hooks come from the fuzzer executable that loads it, so they stay undefined at link time.
  if(TINDRA_FUZZ)
    target_link_options(OrvoLib22 PRIVATE -Wl,-z,undefs)
  endif()
endif()
