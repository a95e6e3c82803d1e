# The Windows program's resources, made from the shell's resource tables
# by a generator that the build runs first (under the cross-compiling
# emulator, Wine, when cross-building): the icons and the string table; the
# version block and the manifest come from platform/win32/.
enable_language(RC)

set(VESK_RESOURCE_DIR ${PROJECT_BINARY_DIR}/win32-resources)
file(MAKE_DIRECTORY ${VESK_RESOURCE_DIR})

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

set(VESK_WIN32_DIR ${PROJECT_SOURCE_DIR}/platform/win32)
configure_file(${VESK_WIN32_DIR}/vesk.manifest.in ${VESK_RESOURCE_DIR}/vesk.manifest @ONLY)
if(MSVC)
  # The MSVC linker embeds the manifest given as a source itself.
  set(VESK_RC_MANIFEST "")
  target_sources(vesk PRIVATE ${VESK_RESOURCE_DIR}/vesk.manifest)
else()
  set(VESK_RC_MANIFEST "CREATEPROCESS_MANIFEST_RESOURCE_ID RT_MANIFEST \"vesk.manifest\"")
endif()
configure_file(${VESK_WIN32_DIR}/vesk.rc.in ${VESK_RESOURCE_DIR}/vesk.rc @ONLY)
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
