# The Windows package as packaging/windows.cmake decides it, where no Windows is at hand: first its
# functions for given platforms, then a throw-away project (windowsProject) configured as Windows with
# MinGW, installed and packed as a ZIP, with a made-up Qt kit (compiler, windeployqt) and makensis; last
# the project itself configured as Windows, the host's compiler and Qt standing in (nothing is built).
#   cmake -DSOURCE_DIR=<repository> -DWORK=<scratch folder> -DGENERATOR=<CMake generator>
#         -DMAKE_PROGRAM=<its build program> -DHOST_C=<C compiler> -DHOST_CXX=<C++ compiler>
#         -DQT5_DIR=<Qt5_DIR> -P windowsPackage.cmake
include(${SOURCE_DIR}/packaging/windows.cmake)

function(expect what actual expected)
  if(NOT "${actual}" STREQUAL "${expected}")
    message(FATAL_ERROR "${what}: \"${actual}\", expected \"${expected}\"")
  endif()
endfunction()
# A made-up tool: a shell script.
function(tool path script)
  file(WRITE ${path} "#!/bin/sh\n${script}\n")
  file(CHMOD ${path} PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE)
endfunction()
function(run)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE status OUTPUT_VARIABLE output ERROR_VARIABLE output)
  if(NOT status EQUAL 0)
    string(REPLACE ";" " " command "${ARGN}")
    message(FATAL_ERROR "${command} failed (${status}):\n${output}")
  endif()
endfunction()
file(REMOVE_RECURSE ${WORK})

set(WIN32 1)
vindal_default_parts(parts)
expect("tests, tools and benchmarks by default on Windows" "${parts}" OFF)
unset(WIN32)
vindal_default_parts(parts)
expect("tests, tools and benchmarks by default elsewhere" "${parts}" ON)

vindal_windows_generators(generators "VINDAL_MAKENSIS-NOTFOUND")
expect("generators without makensis" "${generators}" ZIP)
vindal_windows_generators(generators "C:/Program Files (x86)/NSIS/makensis.exe")
expect("generators with makensis" "${generators}" "ZIP;NSIS")

set(MSVC 1)
vindal_windeployqt_options(options)
expect("windeployqt's options with MSVC" "${options}" --no-compiler-runtime)
unset(MSVC)
set(MINGW 1)
vindal_windeployqt_options(options)
expect("windeployqt's options with MinGW" "${options}" "")

# A cross compiler has no runtime beside it but tells where it keeps it; here it lacks libwinpthread,
# which is left out with a warning.
set(cross ${WORK}/cross)
file(WRITE ${cross}/lib/libgcc_s_seh-1.dll "")
file(WRITE ${cross}/lib/libstdc++-6.dll "")
tool(${cross}/bin/x86_64-w64-mingw32-g++
     "name=\${1#-print-file-name=}; if [ -e ${cross}/lib/$name ]; then echo ${cross}/lib/$name; else echo $name; fi")
message(STATUS "A warning about libwinpthread-1.dll is expected:")
vindal_mingw_runtime(dlls ${cross}/bin/x86_64-w64-mingw32-g++)
expect("runtime of a cross compiler" "${dlls}" "${cross}/lib/libgcc_s_seh-1.dll;${cross}/lib/libstdc++-6.dll")

# Qt's kit: MinGW with its runtime beside the compiler, and windeployqt, which notes its arguments and
# puts a Qt DLL beside the program it is given.
set(kit ${WORK}/kit)
set(runtime libgcc_s_seh-1.dll libstdc++-6.dll libwinpthread-1.dll)
foreach(dll IN LISTS runtime)
  file(WRITE ${kit}/mingw/bin/${dll} "${dll} of the kit's compiler\n")
endforeach()
file(WRITE ${kit}/mingw/bin/g++.exe "")
tool(${kit}/qt/bin/windeployqt [[echo "$@" >"$0.arguments"; for last; do :; done; : >"$(dirname "$last")/Qt5Core.dll"]])
tool(${kit}/nsis/makensis "exit 0")
file(WRITE ${WORK}/vindal01-tool.exe "")
file(WRITE ${WORK}/windows.toolchain "set(CMAKE_SYSTEM_NAME Windows)\n")
set(project ${WORK}/project)
# Programs are looked for in the made-up kit only, not in the system's folders, which may hold a makensis.
set(onlyKit -G ${GENERATOR} -DCMAKE_MAKE_PROGRAM=${MAKE_PROGRAM}
            -DCMAKE_FIND_USE_CMAKE_SYSTEM_PATH=OFF -DCMAKE_FIND_USE_SYSTEM_ENVIRONMENT_PATH=OFF)
run(${CMAKE_COMMAND} -S ${CMAKE_CURRENT_LIST_DIR}/windowsProject -B ${project}
    -DCMAKE_TOOLCHAIN_FILE=${WORK}/windows.toolchain -DMINGW=1 -DCMAKE_CXX_COMPILER=${kit}/mingw/bin/g++.exe
    -DSOURCE_DIR=${SOURCE_DIR} -DPROGRAM=${WORK}/vindal01-tool.exe -DWINDEPLOYQT=${kit}/qt/bin/windeployqt
    -DCMAKE_PROGRAM_PATH=${kit}/nsis ${onlyKit})
file(READ ${project}/defaultParts.txt parts)
expect("tests, tools and benchmarks by default in a Windows project" "${parts}" OFF)
include(${project}/CPackConfig.cmake)
expect("generators with makensis found" "${CPACK_GENERATOR}" "ZIP;NSIS")

run(${CMAKE_COMMAND} --install ${project} --prefix ${WORK}/installed)
file(READ ${kit}/qt/bin/windeployqt.arguments arguments)
expect("windeployqt's arguments" "${arguments}" "${WORK}/installed/bin/vindal01-tool.exe\n")
foreach(dll IN LISTS runtime)
  file(READ ${WORK}/installed/bin/${dll} content)
  expect("installed ${dll}" "${content}" "${dll} of the kit's compiler\n")
endforeach()

# The ZIP holds what windeployqt deployed in CPack's staging folder, beside the program and the runtime.
run(${CMAKE_CPACK_COMMAND} -G ZIP --config ${project}/CPackConfig.cmake -B ${WORK}/zip)
file(GLOB zip ${WORK}/zip/*.zip)
get_filename_component(top ${zip} NAME_WLE)
file(MAKE_DIRECTORY ${WORK}/unpacked)
run(${CMAKE_COMMAND} -E chdir ${WORK}/unpacked ${CMAKE_COMMAND} -E tar xf ${zip})
file(GLOB_RECURSE files LIST_DIRECTORIES false RELATIVE ${WORK}/unpacked/${top} ${WORK}/unpacked/*)
list(SORT files)
expect("the ZIP's files" "${files}"
       "bin/Qt5Core.dll;bin/libgcc_s_seh-1.dll;bin/libstdc++-6.dll;bin/libwinpthread-1.dll;bin/vindal01-tool.exe")

# Without makensis only the ZIP.
run(${CMAKE_COMMAND} -UVINDAL_MAKENSIS -DCMAKE_PROGRAM_PATH= ${project})
include(${project}/CPackConfig.cmake)
expect("generators without makensis" "${CPACK_GENERATOR}" ZIP)

# The project itself: the compiler is taken as working, and the resource compiler is never run.
file(APPEND ${WORK}/windows.toolchain "set(CMAKE_C_COMPILER_WORKS 1)\nset(CMAKE_CXX_COMPILER_WORKS 1)\n")
set(real ${WORK}/real)
run(${CMAKE_COMMAND} -S ${SOURCE_DIR} -B ${real} -Wno-dev ${onlyKit} -DCMAKE_TOOLCHAIN_FILE=${WORK}/windows.toolchain
    -DMINGW=1 -DCMAKE_C_COMPILER=${HOST_C} -DCMAKE_CXX_COMPILER=${HOST_CXX} -DCMAKE_RC_COMPILER=${CMAKE_COMMAND}
    -DQt5_DIR=${QT5_DIR} -DWINDEPLOYQT_EXECUTABLE=${kit}/qt/bin/windeployqt -DCMAKE_PROGRAM_PATH=${kit}/nsis)
load_cache(${real} READ_WITH_PREFIX cached_ VINDAL_BUILD_TESTS VINDAL_BUILD_TOOLS VINDAL_BUILD_BENCH)
expect("the project's tests, tools and benchmarks by default on Windows"
       "${cached_VINDAL_BUILD_TESTS};${cached_VINDAL_BUILD_TOOLS};${cached_VINDAL_BUILD_BENCH}" "OFF;OFF;OFF")
unset(CPACK_GENERATOR)
include(${real}/CPackConfig.cmake)
expect("the project's generators" "${CPACK_GENERATOR}" "ZIP;NSIS")
expect("the project's Debian settings on Windows" "${CPACK_PACKAGING_INSTALL_PREFIX}${CPACK_POST_BUILD_SCRIPTS}" "")
file(READ ${real}/src/cmake_install.cmake install)
string(FIND "${install}" "${kit}/qt/bin/windeployqt\"  \"\${CMAKE_INSTALL_PREFIX}/bin/vindal01-tool.exe\"" call)
if(call LESS 0)
  message(FATAL_ERROR "The project's installation does not run windeployqt on the program, with no options:\n${install}")
endif()
message(STATUS "Windows package decisions as expected")
