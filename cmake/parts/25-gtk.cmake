# The GTK 3 host as a module of its own, vesk-gtk.so, which vesk opens with
# dlopen only when it shows a window: the program itself links no toolkit
# library and runs with -F where GTK is not installed. Built when the GTK 3
# development files are there; installed beside the program's lib/vesk.
if(NOT WIN32)
  find_package(PkgConfig QUIET)
  if(PkgConfig_FOUND)
    pkg_check_modules(VESK_GTK QUIET IMPORTED_TARGET gtk+-3.0 fontconfig)
  endif()
  if(VESK_GTK_FOUND)
    file(GLOB VESK_GTK_SOURCES CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/platform/gtk_*.cpp)
    add_library(vesk-gtk MODULE ${VESK_GTK_SOURCES})
    target_link_libraries(vesk-gtk PRIVATE vesk_platform PkgConfig::VESK_GTK)
    set_target_properties(vesk-gtk PROPERTIES
      PREFIX ""
      CXX_VISIBILITY_PRESET hidden
      VISIBILITY_INLINES_HIDDEN ON
      LIBRARY_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})
    # Building the program builds the module that shows its windows.
    add_dependencies(vesk vesk-gtk)
    install(TARGETS vesk-gtk LIBRARY DESTINATION lib/vesk COMPONENT gtk)
  else()
    message(STATUS "GTK 3 not found (libgtk-3-dev): vesk is built without its window")
  endif()
endif()

# The GTK host's tests: its filters through GTK's matcher, and the vesk
# program's windows under Xvfb (skipped, and reported so, without Xvfb).
if(VESK_BUILD_TESTS AND VESK_GTK_FOUND)
  file(GLOB VESK_GTK_TESTS CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/tests/gtk/*.cpp)
  add_executable(vesk_gtk_tests ${VESK_GTK_TESTS})
  target_link_libraries(vesk_gtk_tests PRIVATE vesk_shell PkgConfig::VESK_GTK
    GTest::gtest GTest::gtest_main)
  target_compile_definitions(vesk_gtk_tests PRIVATE
    VESK_PROGRAM="$<TARGET_FILE:vesk>"
    VESK_GTK_MODULE="$<TARGET_FILE:vesk-gtk>"
    VESK_EXAMPLES_DIR="${CMAKE_CURRENT_SOURCE_DIR}/examples"
    VESK_LSAN_SUPPRESSIONS="${CMAKE_CURRENT_SOURCE_DIR}/tests/gtk/lsan-gtk.supp"
    VESK_ARTIFACT_DIR="${CMAKE_BINARY_DIR}/artifacts")
  add_dependencies(vesk_gtk_tests vesk vesk-gtk)
  gtest_discover_tests(vesk_gtk_tests DISCOVERY_TIMEOUT 60
    PROPERTIES SKIP_REGULAR_EXPRESSION "\\[  SKIPPED \\]" TIMEOUT 60)
endif()
