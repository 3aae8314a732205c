# clang-format over every C++ source of the project, in script mode:
#   cmake -DSOURCE_DIR=... -DCLANG_FORMAT=... [-DFIX=ON] -P ClangFormat.cmake
# Without FIX it is the format check run with the tests: it fails naming each source that
# differs from what .clang-format makes of it. With FIX (the "format" target) it rewrites them.
cmake_minimum_required(VERSION 3.25)
set(sources "")
foreach(folder app automation bench cli dialogs engine search storage tests tools)
  file(GLOB_RECURSE found ${SOURCE_DIR}/${folder}/*.h ${SOURCE_DIR}/${folder}/*.cpp)
  list(APPEND sources ${found})
endforeach()
if(FIX)
  execute_process(COMMAND ${CLANG_FORMAT} -i ${sources} WORKING_DIRECTORY ${SOURCE_DIR})
  return()
endif()
execute_process(COMMAND ${CLANG_FORMAT} --dry-run --Werror ${sources}
                WORKING_DIRECTORY ${SOURCE_DIR} RESULT_VARIABLE result ERROR_VARIABLE problems)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "Not formatted with .clang-format (the format target fixes it):\n${problems}")
endif()
list(LENGTH sources count)
message(STATUS "${count} sources formatted")
