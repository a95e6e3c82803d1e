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
    install(TARGETS vesk-gtk LIBRARY DESTINATION lib/vesk)
  else()
    message(STATUS "GTK 3 not found (libgtk-3-dev): vesk is built without its window")
  endif()
endif()
install(TARGETS vesk RUNTIME DESTINATION bin)
