# tindra-regserver: registers (or with -u unregisters) an in-process component server.
add_executable(tindra-regserver ${CMAKE_CURRENT_LIST_DIR}/RegServer.cpp)
target_link_libraries(tindra-regserver PRIVATE runtime)
install(TARGETS tindra-regserver RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
