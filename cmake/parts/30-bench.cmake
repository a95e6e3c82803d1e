# Benchmarks: built with the rest when Google Benchmark is installed, run by
# `make bench`, never by the tests.
find_package(benchmark QUIET)
if(benchmark_FOUND)
  add_executable(vesk_reader_bench ${CMAKE_CURRENT_SOURCE_DIR}/bench/record_reader_bench.cpp)
  target_link_libraries(vesk_reader_bench PRIVATE vesk_core benchmark::benchmark)
  target_compile_definitions(vesk_reader_bench PRIVATE
    VESK_EXAMPLES_DIR="${CMAKE_CURRENT_SOURCE_DIR}/examples")
  add_executable(vesk_parts_list_bench ${CMAKE_CURRENT_SOURCE_DIR}/bench/parts_list_bench.cpp)
  target_link_libraries(vesk_parts_list_bench PRIVATE vesk_core vesk_platform benchmark::benchmark)
endif()
