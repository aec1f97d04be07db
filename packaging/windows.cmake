# What the build does differently on Windows. The functions read the platform from the caller's
# variables (WIN32, MINGW, MSVC, CMAKE_CXX_COMPILER), so that tests/build can call them with a made-up one.
get_filename_component(VINDAL_SOURCE_ROOT ${CMAKE_CURRENT_LIST_DIR}/.. ABSOLUTE)

# vindal_default_parts(<var>): whether tests, tools and benchmarks are built unless asked otherwise.
# Most of them run on the simulated module, which needs a pseudo-terminal (POSIX), or on the libudev
# stand-in (Linux), so on Windows only the program is built by default.
function(vindal_default_parts var)
  if(WIN32)
    set(${var} OFF PARENT_SCOPE)
  else()
    set(${var} ON PARENT_SCOPE)
  endif()
endfunction()

# vindal_windows_generators(<var> <makensis>): a ZIP always; an installer too where makensis was found.
function(vindal_windows_generators var makensis)
  set(generators ZIP)
  if(makensis)
    list(APPEND generators NSIS)
  endif()
  set(${var} ${generators} PARENT_SCOPE)
endfunction()

# vindal_windeployqt_options(<var>): Microsoft's runtime comes as plain DLLs from
# InstallRequiredSystemLibraries, so windeployqt must not add its redistributable installer as well.
# MinGW's runtime windeployqt may deploy; the DLLs beside the compiler are installed after it anyway.
function(vindal_windeployqt_options var)
  set(options)
  if(MSVC)
    list(APPEND options --no-compiler-runtime)
  endif()
  set(${var} ${options} PARENT_SCOPE)
endfunction()

# vindal_mingw_runtime(<var> <compiler>): the DLLs that every program MinGW builds needs. MinGW's own
# distributions (Qt's kit among them) keep them beside the compiler; a cross compiler knows where it
# keeps them. A missing one is a warning, not an error: a build without a package still works.
function(vindal_mingw_runtime var compiler)
  get_filename_component(compilerDir "${compiler}" DIRECTORY)
  set(found)
  foreach(dll libgcc_s_seh-1.dll libstdc++-6.dll libwinpthread-1.dll)
    set(path "${compilerDir}/${dll}")
    if(NOT EXISTS "${path}")
      execute_process(COMMAND "${compiler}" -print-file-name=${dll} OUTPUT_VARIABLE path
                      OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
      file(TO_CMAKE_PATH "${path}" path)
    endif()
    if(IS_ABSOLUTE "${path}" AND EXISTS "${path}")
      list(APPEND found "${path}")
    else()
      message(WARNING "${dll} not found beside ${compiler}: the package lacks it, and the program does not "
                      "start without it")
    endif()
  endforeach()
  set(${var} ${found} PARENT_SCOPE)
endfunction()

# vindal_install_windows_runtime(<program> <windeployqt>): what the installed program needs beside it:
# Qt's libraries, plugins and translations (windeployqt, run on the installed program, so that a package
# gets them too) and the compiler's runtime. <program> is relative to the installation prefix.
function(vindal_install_windows_runtime program windeployqt)
  if(NOT windeployqt)
    message(FATAL_ERROR "windeployqt not found in Qt's bin folder: it puts Qt's DLLs beside the installed program")
  endif()
  vindal_windeployqt_options(options)
  get_filename_component(dir "${program}" DIRECTORY)
  install(CODE "execute_process(COMMAND \"${windeployqt}\" ${options} \"\${CMAKE_INSTALL_PREFIX}/${program}\"
                COMMAND_ERROR_IS_FATAL ANY)"
          COMPONENT Program)
  # After windeployqt: the runtime of the compiler that built the program is the one that stays.
  if(MINGW)
    vindal_mingw_runtime(dlls "${CMAKE_CXX_COMPILER}")
    if(dlls)
      install(FILES ${dlls} DESTINATION "${dir}" COMPONENT Program)
    endif()
  elseif(MSVC)
    set(CMAKE_INSTALL_SYSTEM_RUNTIME_DESTINATION "${dir}")
    set(CMAKE_INSTALL_SYSTEM_RUNTIME_COMPONENT Program)
    include(InstallRequiredSystemLibraries)
  endif()
endfunction()

# vindal_windows_package(): the CPack settings for Windows, a ZIP to unpack anywhere and, where NSIS is
# installed, an installer with a Start menu entry and an uninstaller. A macro: CPack reads the caller's
# variables. CPACK_PACKAGE_NAME must be set before.
macro(vindal_windows_package)
  find_program(VINDAL_MAKENSIS makensis
               PATHS "[HKEY_LOCAL_MACHINE\\SOFTWARE\\NSIS]" "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Wow6432Node\\NSIS]")
  vindal_windows_generators(CPACK_GENERATOR "${VINDAL_MAKENSIS}")
  set(CPACK_PACKAGE_VENDOR "The ${CPACK_PACKAGE_NAME} authors")
  set(CPACK_PACKAGE_INSTALL_DIRECTORY ${CPACK_PACKAGE_NAME})
  # The Start menu entry: the program in the installer's bin folder, under the package's name.
  set(CPACK_PACKAGE_EXECUTABLES ${CPACK_PACKAGE_NAME} ${CPACK_PACKAGE_NAME})
  set(CPACK_RESOURCE_FILE_LICENSE ${VINDAL_SOURCE_ROOT}/packaging/copyright)
  set(CPACK_NSIS_MUI_ICON ${VINDAL_SOURCE_ROOT}/resources/vindal01-tool.ico)
  set(CPACK_NSIS_MUI_UNIICON ${CPACK_NSIS_MUI_ICON})
  set(CPACK_NSIS_INSTALLED_ICON_NAME "bin\\\\${CPACK_PACKAGE_NAME}.exe")
  set(CPACK_NSIS_ENABLE_UNINSTALL_BEFORE_INSTALL ON)
  if(CMAKE_SIZEOF_VOID_P EQUAL 8)
    set(CPACK_NSIS_INSTALL_ROOT "$PROGRAMFILES64")
  endif()
endmacro()
