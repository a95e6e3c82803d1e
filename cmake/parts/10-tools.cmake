add_executable(vesk-inspect ${CMAKE_CURRENT_SOURCE_DIR}/tools/inspect.cpp)
target_link_libraries(vesk-inspect PRIVATE vesk_core)
