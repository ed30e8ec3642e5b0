# The picture reader on arbitrary bytes. It reaches the library through the component runtime,
# so the library is built first and registered by the target itself in a private registry.
tindra_add_fuzzer(picture tindra_core)
foreach(target picture_fuzzer picture_replay)
  if(TARGET ${target} AND TARGET OrvoLib22)
    target_compile_definitions(${target} PRIVATE TINDRA_LIBRARY_PATH="$<TARGET_FILE:OrvoLib22>")
    add_dependencies(${target} OrvoLib22)
  endif()
endforeach()
