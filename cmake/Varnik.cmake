# Helpers shared by every folder's CMakeLists.

# varnik_library(NAME FOLDER [LIBS ...]): a static library from every .cpp of
# FOLDER, with the project root on the include path.
function(varnik_library name folder)
  cmake_parse_arguments(ARG "" "" "LIBS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/${folder}/*.cpp)
  add_library(${name} STATIC ${sources})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
  target_link_libraries(${name} PUBLIC ${ARG_LIBS})
endfunction()

# varnik_test(NAME FOLDER [LIBS ...]): one GoogleTest program from every .cpp
# of tests/FOLDER, every test case registered with CTest. Tests find their
# data files through VARNIK_TEST_DATA and never need a display.
function(varnik_test name folder)
  cmake_parse_arguments(ARG "" "" "LIBS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/tests/${folder}/*.cpp)
  if(NOT sources)
    return()  # a folder whose tests are not written yet
  endif()
  add_executable(${name} ${sources})
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR} ${PROJECT_SOURCE_DIR}/tests)
  target_compile_definitions(${name} PRIVATE
    VARNIK_TEST_DATA="${PROJECT_SOURCE_DIR}/tests/data"
    VARNIK_EXAMPLES="${PROJECT_SOURCE_DIR}/examples"
    VARNIK_BIN_DIR="${CMAKE_BINARY_DIR}/bin")
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest GTest::gtest_main)
  gtest_discover_tests(${name}
    PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen"
    DISCOVERY_TIMEOUT 60)
endfunction()

# varnik_qt_test(FOLDER [LIBS ...]): one Qt Test program per .cpp of
# tests/FOLDER (each file ends with QTEST_MAIN), each registered with CTest
# and run without a screen.
function(varnik_qt_test folder)
  cmake_parse_arguments(ARG "" "" "LIBS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/tests/${folder}/*.cpp)
  foreach(source ${sources})
    get_filename_component(stem ${source} NAME_WE)
    set(name ${folder}_${stem})
    add_executable(${name} ${source})
    set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests AUTOMOC ON)
    target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR} ${PROJECT_SOURCE_DIR}/tests)
    target_compile_definitions(${name} PRIVATE
      VARNIK_TEST_DATA="${PROJECT_SOURCE_DIR}/tests/data"
      VARNIK_EXAMPLES="${PROJECT_SOURCE_DIR}/examples"
      VARNIK_BIN_DIR="${CMAKE_BINARY_DIR}/bin")
    target_link_libraries(${name} PRIVATE ${ARG_LIBS} Qt6::Test Qt6::Widgets)
    add_test(NAME ${name} COMMAND ${name})
    set_tests_properties(${name} PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen" TIMEOUT 300)
  endforeach()
endfunction()
