# The communication library stand-in is built where the demo and tst_comServer find it, but it is
# neither beside the program, which would load it first, nor in an installation of the build.
#   cmake -DBUILD_DIR=<build folder> -DSTAND_IN=<the stand-in> -DPROGRAM=<the program>
#         -DWORK=<scratch folder> -P standInApart.cmake
if(NOT EXISTS "${STAND_IN}")
  message(FATAL_ERROR "The stand-in ${STAND_IN} is not built")
endif()
get_filename_component(programDir "${PROGRAM}" DIRECTORY)
file(GLOB besideProgram "${programDir}/*KVCom*")
if(besideProgram)
  message(FATAL_ERROR "The program's folder holds a communication library it would load: ${besideProgram}")
endif()

file(REMOVE_RECURSE "${WORK}")
execute_process(COMMAND ${CMAKE_COMMAND} --install "${BUILD_DIR}" --prefix "${WORK}"
                RESULT_VARIABLE status OUTPUT_VARIABLE output ERROR_VARIABLE output)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "cmake --install failed (${status}):\n${output}")
endif()
get_filename_component(programName "${PROGRAM}" NAME)
if(NOT EXISTS "${WORK}/bin/${programName}")
  message(FATAL_ERROR "The installation lacks bin/${programName}:\n${output}")
endif()
file(GLOB_RECURSE installed LIST_DIRECTORIES true RELATIVE "${WORK}" "${WORK}/*")
string(TOLOWER "${installed}" installedLower)
if(installedLower MATCHES "kvcom")
  message(FATAL_ERROR "The installation holds the communication library stand-in:\n${installed}")
endif()
message(STATUS "Stand-in at ${STAND_IN}; installed: ${installed}")
