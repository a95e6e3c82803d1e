# libFuzzer targets, built only in a clang build with -DVESK_FUZZ=ON (see
# `make fuzz`); every target links the core built with the same sanitizers.
option(VESK_FUZZ "Build the libFuzzer targets (clang only)" OFF)
if(VESK_FUZZ)
  # Coverage feedback from the core itself, not only from the fuzz entry points.
  target_compile_options(vesk_core PRIVATE -fsanitize=fuzzer-no-link)
  file(GLOB VESK_FUZZ_SOURCES CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/fuzz/*_fuzz.cpp)
  foreach(source IN LISTS VESK_FUZZ_SOURCES)
    get_filename_component(name ${source} NAME_WE)
    add_executable(${name} ${source})
    target_link_libraries(${name} PRIVATE vesk_core)
    target_compile_options(${name} PRIVATE -fsanitize=fuzzer)
    target_link_options(${name} PRIVATE -fsanitize=fuzzer)
  endforeach()
endif()
