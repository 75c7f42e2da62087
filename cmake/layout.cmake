# Lays out config/kiv12, include/machine/rt12 and doc/ beside bin/ in the
# build tree, exactly as `cmake --install` lays them out under the prefix, so
# the programs find their files at <program dir>/../config/kiv12 and so on.
if(CMAKE_INSTALL_PREFIX_INITIALIZED_TO_DEFAULT)
  set(CMAKE_INSTALL_PREFIX /opt/torva6 CACHE PATH "Install prefix" FORCE)
endif()

set(TORVA_LAYOUT_DIRS
    "config/kiv12=config/kiv12"
    "include/machine/rt12=include/machine/rt12")

add_custom_target(torva_layout ALL)
foreach(pair IN LISTS TORVA_LAYOUT_DIRS)
  string(REPLACE "=" ";" parts "${pair}")
  list(GET parts 0 from)
  list(GET parts 1 to)
  if(EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/${from})
    add_custom_command(TARGET torva_layout POST_BUILD
      COMMAND ${CMAKE_COMMAND} -E copy_directory
              ${CMAKE_CURRENT_SOURCE_DIR}/${from} ${CMAKE_BINARY_DIR}/${to})
    install(DIRECTORY ${from}/ DESTINATION ${to})
  endif()
endforeach()

# torva_add_test(name LIBS lib... SOURCES file...): one GoogleTest executable
# registered with CTest; it runs in the build directory.
function(torva_add_test name)
  cmake_parse_arguments(T "" "" "LIBS;SOURCES" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest GTest::gtest_main GTest::gmock)
  target_include_directories(${name} PRIVATE ${TORVA_SOURCE_ROOT}/tests)
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
  add_test(NAME ${name} COMMAND ${name})
  set_tests_properties(${name} PROPERTIES
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen;TORVA_BUILD_DIR=${CMAKE_BINARY_DIR};TORVA_SOURCE_DIR=${TORVA_SOURCE_ROOT}")
endfunction()
