# Runs after CPack has written the packages. CPack 3.25 writes the -dbgsym package's md5sums with the
# absolute paths its files had in the build folder, so dpkg --verify would miss every one of them; it
# gives the package no documentation folder; and it marks the debug information executable. This rewrites
# the md5sums with the paths inside the package, adds the folder as a link to the program package's one,
# which holds the copyright file and the changelog (the dbgsym package depends on exactly that version),
# and makes the debug information plain data.
find_program(DPKG_DEB dpkg-deb REQUIRED)
foreach(package IN LISTS CPACK_PACKAGE_FILES)
  if(NOT package MATCHES "-dbgsym_[^/]*\\.ddeb$")
    continue()
  endif()
  set(tree "${CPACK_TOPLEVEL_DIRECTORY}/dbgsymRepair")
  file(REMOVE_RECURSE "${tree}")
  execute_process(COMMAND ${DPKG_DEB} --raw-extract "${package}" "${tree}" COMMAND_ERROR_IS_FATAL ANY)

  set(docDir "${tree}/usr/share/doc")
  file(MAKE_DIRECTORY "${docDir}")
  file(CHMOD "${tree}/usr/share" "${docDir}" DIRECTORY_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE
       GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
  file(CREATE_LINK "${CPACK_PACKAGE_NAME}" "${docDir}/${CPACK_PACKAGE_NAME}-dbgsym" SYMBOLIC)

  # The separated debug information is data that the debugger reads, not a program.
  file(GLOB_RECURSE debugFiles LIST_DIRECTORIES false "${tree}/usr/lib/debug/*.debug")
  if(debugFiles)
    file(CHMOD ${debugFiles} PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
  endif()

  file(GLOB_RECURSE files LIST_DIRECTORIES false RELATIVE "${tree}" "${tree}/usr/*")
  list(SORT files)
  set(md5sums "")
  foreach(file IN LISTS files)
    if(NOT IS_SYMLINK "${tree}/${file}")
      file(MD5 "${tree}/${file}" sum)
      string(APPEND md5sums "${sum}  ${file}\n")
    endif()
  endforeach()
  file(WRITE "${tree}/DEBIAN/md5sums" "${md5sums}")

  execute_process(COMMAND ${DPKG_DEB} --root-owner-group --build "${tree}" "${package}"
                  OUTPUT_QUIET COMMAND_ERROR_IS_FATAL ANY)
  file(REMOVE_RECURSE "${tree}")
endforeach()
