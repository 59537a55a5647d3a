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

# varnik_test_paths(NAME): a test program lands in build/tests, includes
# from the project root and tests/, and finds its data through
# VARNIK_TEST_DATA, the bundled city through VARNIK_EXAMPLES and the built
# programs through VARNIK_BIN_DIR.
function(varnik_test_paths name)
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR} ${PROJECT_SOURCE_DIR}/tests)
  target_compile_definitions(${name} PRIVATE
    VARNIK_TEST_DATA="${PROJECT_SOURCE_DIR}/tests/data"
    VARNIK_EXAMPLES="${PROJECT_SOURCE_DIR}/examples"
    VARNIK_BIN_DIR="${CMAKE_BINARY_DIR}/bin")
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
  varnik_test_paths(${name})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest GTest::gtest_main)
  gtest_discover_tests(${name}
    PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen"
    DISCOVERY_TIMEOUT 60)
endfunction()

# varnik_qt_program(NAME SOURCE [LIBS ...]): one Qt Test program (the file
# ends with QTEST_MAIN) in the tests' output folder.
function(varnik_qt_program name source)
  cmake_parse_arguments(ARG "" "" "LIBS" ${ARGN})
  add_executable(${name} ${source})
  set_target_properties(${name} PROPERTIES AUTOMOC ON)
  varnik_test_paths(${name})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} Qt6::Test Qt6::Widgets)
endfunction()

# varnik_qt_test(FOLDER [LIBS ...]): one Qt Test program per .cpp of
# tests/FOLDER, each registered with CTest and run without a screen.
function(varnik_qt_test folder)
  cmake_parse_arguments(ARG "" "" "LIBS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/tests/${folder}/*.cpp)
  foreach(source ${sources})
    get_filename_component(stem ${source} NAME_WE)
    set(name ${folder}_${stem})
    varnik_qt_program(${name} ${source} LIBS ${ARG_LIBS})
    add_test(NAME ${name} COMMAND ${name})
    set_tests_properties(${name} PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen" TIMEOUT 300)
  endforeach()
endfunction()

# varnik_x11_test(FOLDER [LIBS ...]): like varnik_qt_test, but each program
# runs on an X server of its own (xvfb-run), for what only a real window
# system shows: captions as a window manager reads them, the keyboard's
# lock keys. Without xvfb-run the programs are built but not registered.
function(varnik_x11_test folder)
  cmake_parse_arguments(ARG "" "" "LIBS" ${ARGN})
  find_program(VARNIK_XVFB_RUN xvfb-run)
  file(GLOB sources CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/tests/${folder}/*.cpp)
  foreach(source ${sources})
    get_filename_component(stem ${source} NAME_WE)
    set(name ${folder}_${stem})
    varnik_qt_program(${name} ${source} LIBS ${ARG_LIBS})
    if(VARNIK_XVFB_RUN)
      add_test(NAME ${name} COMMAND ${VARNIK_XVFB_RUN} -a -s "-screen 0 1024x768x24" $<TARGET_FILE:${name}>)
      set_tests_properties(${name} PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=xcb" TIMEOUT 300)
    endif()
  endforeach()
endfunction()
