# The application shell: the platform stand-in (platform/), the shell
# written against it (app/), the vesk program and the shell's tests.
file(GLOB VESK_PLATFORM_SOURCES CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/platform/*.cpp)
# Each platform compiles its own windowing backend and host choice only;
# the GTK host lives in its own module (cmake/parts/25-gtk.cmake), loaded
# only when a window is shown.
list(FILTER VESK_PLATFORM_SOURCES EXCLUDE REGEX
  "/platform/(gtk_[^/]*|native_host_[a-z0-9]+|page_memory_[a-z0-9]+|win32_host)\\.cpp$")
if(WIN32)
  list(APPEND VESK_PLATFORM_SOURCES
    ${CMAKE_CURRENT_SOURCE_DIR}/platform/win32_host.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/platform/native_host_win32.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/platform/page_memory_win32.cpp)
else()
  list(APPEND VESK_PLATFORM_SOURCES
    ${CMAKE_CURRENT_SOURCE_DIR}/platform/native_host_posix.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/platform/page_memory_posix.cpp)
endif()
add_library(vesk_platform STATIC ${VESK_PLATFORM_SOURCES})
# Position-independent, since the GTK module links it as well.
set_target_properties(vesk_platform PROPERTIES POSITION_INDEPENDENT_CODE ON)
target_include_directories(vesk_platform PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
if(WIN32)
  target_link_libraries(vesk_platform PUBLIC user32 gdi32 comdlg32 shell32)
endif()

file(GLOB VESK_SHELL_SOURCES CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/app/*.cpp)
list(REMOVE_ITEM VESK_SHELL_SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/app/main.cpp)
add_library(vesk_shell STATIC ${VESK_SHELL_SOURCES})
target_link_libraries(vesk_shell PUBLIC vesk_platform vesk_core)

add_executable(vesk ${CMAKE_CURRENT_SOURCE_DIR}/app/main.cpp)
target_link_libraries(vesk PRIVATE vesk_shell ${CMAKE_DL_LIBS})

# The shell's tests drive POSIX processes and files; they run natively.
if(VESK_BUILD_TESTS AND NOT CMAKE_CROSSCOMPILING AND NOT WIN32)
  file(GLOB VESK_APP_TESTS CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/tests/app/*.cpp)
  add_executable(vesk_app_tests ${VESK_APP_TESTS})
  target_link_libraries(vesk_app_tests PRIVATE vesk_shell GTest::gtest GTest::gtest_main)
  target_compile_definitions(vesk_app_tests PRIVATE
    VESK_TEST_DATA_DIR="${CMAKE_CURRENT_SOURCE_DIR}/tests/data"
    VESK_EXAMPLES_DIR="${CMAKE_CURRENT_SOURCE_DIR}/examples"
    VESK_PROGRAM="$<TARGET_FILE:vesk>")
  add_dependencies(vesk_app_tests vesk)
  gtest_discover_tests(vesk_app_tests DISCOVERY_TIMEOUT 60)
endif()
