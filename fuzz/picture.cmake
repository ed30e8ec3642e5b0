# The picture reader on arbitrary bytes. The reader's own sources are compiled into the fuzzer
# so that they carry its coverage and sanitizer instrumentation (the core library is built
# without them). It reaches the library through the component runtime, so the library is built
# first and registered by the target itself in a private registry.
tindra_add_fuzzer(picture tindra_core)
if(TARGET picture_fuzzer)
  file(GLOB picture_sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/app/picture/*.cpp)
  target_sources(picture_fuzzer PRIVATE ${picture_sources})
  target_include_directories(picture_fuzzer PRIVATE ${CMAKE_SOURCE_DIR})
endif()
foreach(target picture_fuzzer picture_replay)
  if(TARGET ${target} AND TARGET OrvoLib22)
    target_compile_definitions(${target} PRIVATE TINDRA_LIBRARY_PATH="$<TARGET_FILE:OrvoLib22>")
    add_dependencies(${target} OrvoLib22)
  endif()
endforeach()
