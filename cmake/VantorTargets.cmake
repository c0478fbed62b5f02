# Shared settings for every target of the project.

# Warnings on, with the few that always point at real faults made errors.
function(vantor_warnings target)
  target_compile_options(${target} PRIVATE
    -Wall -Wextra -Wpedantic -Wshadow
    -Werror=return-type -Werror=uninitialized -Werror=format-security)
endfunction()

# A static library of the core: standard library only, Qt cannot be seen.
function(vantor_core_library target)
  add_library(${target} STATIC ${ARGN})
  target_include_directories(${target} PUBLIC ${CMAKE_SOURCE_DIR}/src)
  vantor_warnings(${target})
endfunction()

# A static library of the desktop program: may use Qt.
function(vantor_gui_library target)
  add_library(${target} STATIC ${ARGN})
  target_include_directories(${target} PUBLIC ${CMAKE_SOURCE_DIR}/src)
  set_target_properties(${target} PROPERTIES AUTOMOC ON)
  vantor_warnings(${target})
endfunction()

# A GoogleTest executable registered with ctest.
function(vantor_gtest target)
  add_executable(${target} ${ARGN})
  target_link_libraries(${target} PRIVATE GTest::gtest GTest::gmock GTest::gtest_main testdata)
  target_include_directories(${target} PRIVATE ${CMAKE_SOURCE_DIR}/tests)
  vantor_warnings(${target})
  gtest_discover_tests(${target} DISCOVERY_TIMEOUT 60)
endfunction()

# A QtTest executable registered with ctest, run on the offscreen platform.
function(vantor_qtest target)
  add_executable(${target} ${ARGN})
  set_target_properties(${target} PROPERTIES AUTOMOC ON)
  target_link_libraries(${target} PRIVATE Qt6::Test testdata)
  target_include_directories(${target} PRIVATE ${CMAKE_SOURCE_DIR}/tests)
  vantor_warnings(${target})
  add_test(NAME ${target} COMMAND ${target})
  set_tests_properties(${target} PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
endfunction()
