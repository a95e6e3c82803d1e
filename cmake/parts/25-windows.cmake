# Windows: the executable's resources, made from the shell's tables by a
# generator that the build runs first (under the cross-compiling emulator,
# Wine, when cross-building), and the tests that run vesk.exe under Wine.
if(NOT WIN32)
  return()
endif()
enable_language(RC)
if(MSVC)
  # fopen and friends are the standard's own; MSVC's "secure" variants are not portable.
  add_compile_definitions(_CRT_SECURE_NO_WARNINGS)
endif()

set(VESK_RESOURCE_DIR ${CMAKE_CURRENT_BINARY_DIR}/win32-resources)
file(MAKE_DIRECTORY ${VESK_RESOURCE_DIR})

add_executable(make_win32_resources ${CMAKE_CURRENT_SOURCE_DIR}/tools/make_win32_resources.cpp)
target_link_libraries(make_win32_resources PRIVATE vesk_shell)

set(VESK_GENERATED_RESOURCES
  ${VESK_RESOURCE_DIR}/strings.rc
  ${VESK_RESOURCE_DIR}/icon_128.ico
  ${VESK_RESOURCE_DIR}/icon_129.ico)
# Run inside the output directory and given ".", so that the emulated
# program needs no translation of host paths.
add_custom_command(
  OUTPUT ${VESK_GENERATED_RESOURCES}
  COMMAND make_win32_resources .
  WORKING_DIRECTORY ${VESK_RESOURCE_DIR}
  DEPENDS make_win32_resources
  COMMENT "Generating the icons and the string table from the resource tables")

configure_file(${CMAKE_CURRENT_SOURCE_DIR}/platform/win32/vesk.manifest.in
               ${VESK_RESOURCE_DIR}/vesk.manifest @ONLY)
if(MSVC)
  # The MSVC linker embeds the manifest given as a source itself.
  set(VESK_RC_MANIFEST "")
  target_sources(vesk PRIVATE ${VESK_RESOURCE_DIR}/vesk.manifest)
else()
  set(VESK_RC_MANIFEST "CREATEPROCESS_MANIFEST_RESOURCE_ID RT_MANIFEST \"vesk.manifest\"")
endif()
configure_file(${CMAKE_CURRENT_SOURCE_DIR}/platform/win32/vesk.rc.in
               ${VESK_RESOURCE_DIR}/vesk.rc @ONLY)
set_source_files_properties(${VESK_RESOURCE_DIR}/vesk.rc PROPERTIES
  OBJECT_DEPENDS "${VESK_GENERATED_RESOURCES};${VESK_RESOURCE_DIR}/vesk.manifest")
target_sources(vesk PRIVATE ${VESK_RESOURCE_DIR}/vesk.rc)
target_include_directories(vesk PRIVATE ${VESK_RESOURCE_DIR})
# A program with a window, not a console program; main() stays the entry.
if(MINGW)
  target_link_options(vesk PRIVATE -mwindows)
elseif(MSVC)
  target_link_options(vesk PRIVATE /SUBSYSTEM:WINDOWS /ENTRY:mainCRTStartup)
endif()

# Under Wine: vesk.exe from the command line with a Japanese locale, and
# its window under Xvfb, driven through win_probe.
if(VESK_BUILD_TESTS AND CMAKE_CROSSCOMPILING)
  add_executable(win_probe ${CMAKE_CURRENT_SOURCE_DIR}/tests/windows/win_probe.cpp)
  target_link_libraries(win_probe PRIVATE user32 shell32)
  foreach(mode command-line window)
    add_test(NAME vesk_wine_${mode}
      COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/tests/windows/wine_tests.sh ${mode}
              $<TARGET_FILE:vesk> $<TARGET_FILE:win_probe> ${CMAKE_CURRENT_BINARY_DIR}/wine-${mode})
    # One Wine prefix for every test: they take turns.
    set_tests_properties(vesk_wine_${mode} PROPERTIES
      TIMEOUT 180 SKIP_RETURN_CODE 77 RESOURCE_LOCK wineprefix)
  endforeach()
  if(TEST vesk_unit_tests)
    set_tests_properties(vesk_unit_tests PROPERTIES RESOURCE_LOCK wineprefix)
  endif()
endif()
