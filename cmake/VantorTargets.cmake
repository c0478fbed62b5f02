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
  vantor_warnings(${target})
endfunction()

# A static library of the desktop program: may use Qt.
function(vantor_gui_library target)
  add_library(${target} STATIC ${ARGN})
  set_target_properties(${target} PROPERTIES AUTOMOC ON)
  vantor_warnings(${target})
endfunction()

# A library of headers only.
function(vantor_header_library target)
  add_library(${target} INTERFACE)
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

# --- The levels, enforced ------------------------------------------------------------------
#
# A target may include the headers of its own folder of src/ (the folder its CMakeLists.txt is
# in; none for tests, benchmarks and fuzzers) and of the folders of the libraries it links,
# with theirs in turn. src/ itself is on no include path: every target gets an include root of
# its own in the build tree that holds links to the headers of exactly those folders. Including
# a header of any other folder - a higher level, or a sibling such as pages/memory from
# pages/vdp - fails to compile. A subfolder is a folder of its own: pages/ does not bring
# pages/vdp/ with it.
#
# vantor_include_roots() runs once, at the end of the top-level CMakeLists.txt, when every
# target and every link is known.

set(VANTOR_INCLUDE_ROOTS ${CMAKE_BINARY_DIR}/include-roots)

# The folder of src/ a target is defined in, or "" outside src/.
function(vantor_own_folder target out)
  get_target_property(dir ${target} SOURCE_DIR)
  file(RELATIVE_PATH folder ${CMAKE_SOURCE_DIR}/src ${dir})
  if(folder MATCHES "^\\.\\." OR folder STREQUAL "")
    set(folder "")
  endif()
  set(${out} "${folder}" PARENT_SCOPE)
endfunction()

# The folders a target may see: its own and, through every library it links, theirs.
function(vantor_visible_folders target out)
  get_property(known GLOBAL PROPERTY VANTOR_FOLDERS_OF_${target} SET)
  if(known)
    get_property(folders GLOBAL PROPERTY VANTOR_FOLDERS_OF_${target})
    set(${out} "${folders}" PARENT_SCOPE)
    return()
  endif()
  vantor_own_folder(${target} folders)
  get_target_property(type ${target} TYPE)
  if(type STREQUAL "INTERFACE_LIBRARY")
    get_target_property(links ${target} INTERFACE_LINK_LIBRARIES)
  else()
    get_target_property(links ${target} LINK_LIBRARIES)
  endif()
  foreach(library IN LISTS links)
    if(TARGET ${library})
      get_target_property(imported ${library} IMPORTED)
      if(NOT imported)
        vantor_visible_folders(${library} more)
        list(APPEND folders ${more})
      endif()
    endif()
  endforeach()
  list(REMOVE_DUPLICATES folders)
  set_property(GLOBAL PROPERTY VANTOR_FOLDERS_OF_${target} "${folders}")
  set(${out} "${folders}" PARENT_SCOPE)
endfunction()

# One real directory per visible folder, holding a link to each of the folder's headers.
function(vantor_write_include_root target)
  vantor_visible_folders(${target} folders)
  set(root ${VANTOR_INCLUDE_ROOTS}/${target})
  file(REMOVE_RECURSE ${root})
  file(MAKE_DIRECTORY ${root})
  foreach(folder IN LISTS folders)
    file(GLOB headers CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/src/${folder}/*.h)
    file(MAKE_DIRECTORY ${root}/${folder})
    foreach(header IN LISTS headers)
      get_filename_component(name ${header} NAME)
      file(CREATE_LINK ${header} ${root}/${folder}/${name} SYMBOLIC)
    endforeach()
  endforeach()
  target_include_directories(${target} PRIVATE ${root})
endfunction()

function(vantor_targets_in directory out)
  get_property(targets DIRECTORY ${directory} PROPERTY BUILDSYSTEM_TARGETS)
  get_property(children DIRECTORY ${directory} PROPERTY SUBDIRECTORIES)
  foreach(child IN LISTS children)
    vantor_targets_in(${child} more)
    list(APPEND targets ${more})
  endforeach()
  set(${out} "${targets}" PARENT_SCOPE)
endfunction()

function(vantor_include_roots)
  file(REMOVE_RECURSE ${VANTOR_INCLUDE_ROOTS})
  vantor_targets_in(${CMAKE_SOURCE_DIR} targets)
  foreach(target IN LISTS targets)
    get_target_property(type ${target} TYPE)
    if(type MATCHES "^(STATIC_LIBRARY|SHARED_LIBRARY|EXECUTABLE)$")
      vantor_write_include_root(${target})
    endif()
  endforeach()
endfunction()
