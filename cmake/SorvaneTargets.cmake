# Every source folder is one library made of the units in it (and in its sub-folders, but
# for those that are libraries of their own).
function(sorvane_add_library name)
  cmake_parse_arguments(ARG "" "" "LINK;PRIVATE" ${ARGN})
  file(GLOB_RECURSE sources CONFIGURE_DEPENDS
       ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.h
       ${CMAKE_CURRENT_SOURCE_DIR}/*.ui ${CMAKE_CURRENT_SOURCE_DIR}/*.qrc)
  list(FILTER sources EXCLUDE REGEX "/main\\.cpp$")
  file(GLOB_RECURSE own_libraries ${CMAKE_CURRENT_SOURCE_DIR}/*/CMakeLists.txt)
  foreach(list_file ${own_libraries})
    get_filename_component(library_dir ${list_file} DIRECTORY)
    list(FILTER sources EXCLUDE REGEX "^${library_dir}/")
  endforeach()
  add_library(${name} STATIC ${sources})
  target_include_directories(${name} PUBLIC ${CMAKE_SOURCE_DIR})
  target_link_libraries(${name} PUBLIC ${ARG_LINK} PRIVATE ${ARG_PRIVATE})
  set_target_properties(${name} PROPERTIES LINKER_LANGUAGE CXX)
endfunction()

# A GoogleTest executable made of every test file in the calling folder; each test case is
# registered with ctest. The environment keeps tests away from the real home folder.
function(sorvane_add_gtest name)
  cmake_parse_arguments(ARG "" "" "LINK" ${ARGN})
  file(GLOB_RECURSE sources CONFIGURE_DEPENDS
       ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
  if(NOT sources)
    return()
  endif()
  add_executable(${name} ${sources})
  target_link_libraries(${name} PRIVATE ${ARG_LINK} sorvane_gtest_main GTest::gmock)
  # Parameterised cases keep their index in the name: some parameters print as raw bytes.
  gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 60 NO_PRETTY_VALUES
                       PROPERTIES ENVIRONMENT "LC_ALL=C.UTF-8")
endfunction()

# One Qt Test executable per test file in the calling folder (widgets tests).
function(sorvane_add_qttests prefix)
  cmake_parse_arguments(ARG "" "" "LINK" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  foreach(source ${sources})
    get_filename_component(stem ${source} NAME_WE)
    set(target ${prefix}_${stem})
    add_executable(${target} ${source})
    target_link_libraries(${target} PRIVATE ${ARG_LINK} sorvane_testsupport Qt6::Test)
    add_test(NAME ${target} COMMAND ${target})
    set_tests_properties(${target} PROPERTIES ENVIRONMENT
                         "LC_ALL=C.UTF-8;QT_QPA_PLATFORM=offscreen;ASAN_OPTIONS=detect_leaks=0;QTEST_FUNCTION_TIMEOUT=60000")
  endforeach()
endfunction()
