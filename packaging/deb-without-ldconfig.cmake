# Run by CPack once it has built the .deb files (CPACK_POST_BUILD_SCRIPTS).
#
# CPack gives a package whose dependencies it works out (as ours are) a
# postinst and a postrm that call ldconfig whenever a shared object lies
# below /usr/lib. The window module in /usr/lib/vesk is no library of the
# linker's search path (vesk opens it by its path), and dpkg runs ldconfig
# by a trigger where that is needed, so the calls only cost an install
# step (and lintian warns of them). Our packages have no maintainer
# scripts of their own: the package is built again without them.
foreach(deb IN LISTS CPACK_PACKAGE_FILES)
  set(root "${deb}.contents")
  file(REMOVE_RECURSE "${root}")
  execute_process(COMMAND dpkg-deb --raw-extract "${deb}" "${root}" COMMAND_ERROR_IS_FATAL ANY)
  set(scripts)
  foreach(script postinst postrm)
    if(EXISTS "${root}/DEBIAN/${script}")
      file(READ "${root}/DEBIAN/${script}" text)
      string(REGEX REPLACE "#![^\n]*|set -e|if \\[ \"\\$1\" = \"[a-z]+\" \\]; then|ldconfig|fi|[ \t\n]"
             "" rest "${text}")
      if(NOT rest STREQUAL "")
        message(FATAL_ERROR "${deb}: its ${script} does more than call ldconfig:\n${text}")
      endif()
      list(APPEND scripts "${root}/DEBIAN/${script}")
    endif()
  endforeach()
  if(scripts)
    file(REMOVE ${scripts})
    execute_process(COMMAND dpkg-deb --root-owner-group --build "${root}" "${deb}"
                    OUTPUT_QUIET COMMAND_ERROR_IS_FATAL ANY)
  endif()
  file(REMOVE_RECURSE "${root}")
endforeach()
