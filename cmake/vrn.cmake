# The folders are layers, added lowest first; each library links the one added before it, so the linker
# sees them in layer order and a call from a lower layer into a higher one fails to link.

# vrn_folder_files(<out> <pattern>...): the files of the calling folder and its subfolders that match a
# pattern, without those of a subfolder that has a CMakeLists.txt of its own (a layer or test folder of
# its own, such as GUI/Core).
function(vrn_folder_files out)
  set(found)
  foreach(pattern IN LISTS ARGN)
    file(GLOB_RECURSE files CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/${pattern})
    list(APPEND found ${files})
  endforeach()
  file(GLOB_RECURSE lists CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*/CMakeLists.txt)
  foreach(list_file IN LISTS lists)
    get_filename_component(own ${list_file} DIRECTORY)
    list(FILTER found EXCLUDE REGEX "^${own}/")
  endforeach()
  list(SORT found)
  set(${out} ${found} PARENT_SCOPE)
endfunction()

# vrn_library(<name> [sources...]): one static library, by default from the *.cpp files of the calling
# folder and its subfolders.
function(vrn_library name)
  set(srcs ${ARGN})
  if(NOT srcs)
    vrn_folder_files(srcs *.cpp)
  endif()
  add_library(${name} STATIC ${srcs})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
  get_property(below GLOBAL PROPERTY VRN_TOP_LIBRARY)
  if(below)
    target_link_libraries(${name} PUBLIC ${below})
  else()
    target_link_libraries(${name} PUBLIC Threads::Threads)
  endif()
  set_property(GLOBAL PROPERTY VRN_TOP_LIBRARY ${name})
endfunction()

# vrn_system: the top layer with everything below it. Called once all folders are added.
function(vrn_system_target)
  get_property(top GLOBAL PROPERTY VRN_TOP_LIBRARY)
  add_library(vrn_system INTERFACE)
  target_link_libraries(vrn_system INTERFACE ${top})
endfunction()

# vrn_tests(<name> [DEPS <lib>...] [HELPERS <source>...]): one gtest executable from the *_test.cpp files
# of the calling folder and its subfolders, registered with ctest. *_fixture.cpp files are the folder's
# helpers; HELPERS adds helper sources of other test folders. The helpers and DEPS are remembered for the
# benchmarks of the mirroring bench/ folder (vrn_bench), which link them from here instead of copies.
function(vrn_tests name)
  cmake_parse_arguments(ARG "" "" "DEPS;HELPERS" ${ARGN})
  vrn_folder_files(tests *_test.cpp)
  vrn_folder_files(helpers *_fixture.cpp)
  foreach(helper IN LISTS ARG_HELPERS)
    list(APPEND helpers ${PROJECT_SOURCE_DIR}/${helper})
  endforeach()
  set(support)
  if(TARGET vrn_testsupport)
    set(support vrn_testsupport)
  endif()
  if(tests)
    add_executable(${name} ${tests} ${helpers})
    target_link_libraries(${name} PRIVATE ${ARG_DEPS} ${support} vrn_system GTest::gtest_main GTest::gmock)
    gtest_discover_tests(${name} DISCOVERY_TIMEOUT 120
      PROPERTIES ENVIRONMENT "VRN_BUILD_DIR=${CMAKE_BINARY_DIR}")
  endif()
  file(RELATIVE_PATH folder ${PROJECT_SOURCE_DIR}/tests ${CMAKE_CURRENT_SOURCE_DIR})
  set_property(GLOBAL PROPERTY VRN_TEST_FOLDER_${folder} ${name})
  set_property(GLOBAL PROPERTY VRN_TEST_HELPERS_${folder} ${helpers})
  set_property(GLOBAL PROPERTY VRN_TEST_LIBS_${folder} ${ARG_DEPS} ${support})
endfunction()

# vrn_bench(<source>): a Google Benchmark program named after bench/<path>/<name>_bench.cpp, built into
# <build>/bench/<path>/ and not run by ctest. It links the helpers and libraries of the nearest test folder
# that mirrors <path> (tests/core/control for bench/core/control/measure). The black-box benchmarks of
# bench/system start the built controller: they find it through VRN_BUILD_DIR, or this build when it is
# unset.
function(vrn_bench source)
  get_filename_component(name ${source} NAME_WE)
  get_filename_component(path ${source} DIRECTORY)
  add_executable(${name} ${source})
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}/${path})
  add_dependencies(benchmarks ${name})
  if(path STREQUAL "system")
    target_link_libraries(${name} PRIVATE vrn_testsupport benchmark::benchmark_main)
    target_compile_definitions(${name} PRIVATE VRN_BINARY_DIR="${CMAKE_BINARY_DIR}")
    return()
  endif()
  set(folder ${path})
  get_property(program GLOBAL PROPERTY VRN_TEST_FOLDER_${folder})
  while(NOT program AND folder)
    get_filename_component(folder ${folder} DIRECTORY)
    get_property(program GLOBAL PROPERTY VRN_TEST_FOLDER_${folder})
  endwhile()
  if(NOT program)
    message(FATAL_ERROR "bench/${source}: no test folder tests/${path} or above it to take helpers from")
  endif()
  get_property(helpers GLOBAL PROPERTY VRN_TEST_HELPERS_${folder})
  get_property(libs GLOBAL PROPERTY VRN_TEST_LIBS_${folder})
  target_sources(${name} PRIVATE ${helpers})
  target_link_libraries(${name} PRIVATE ${libs} vrn_system benchmark::benchmark_main)
endfunction()

# vrn_fuzz_target(<name> <source>... [LIBS <lib>...]): a libFuzzer target of a fuzzing build (VRN_FUZZ=ON,
# made with clang by scripts/fuzz-target.sh). The target fuzz_targets builds them all, so that one build
# serves every smoke run.
function(vrn_fuzz_target name)
  cmake_parse_arguments(ARG "" "" "LIBS" ${ARGN})
  add_executable(${name} ${ARG_UNPARSED_ARGUMENTS})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} vrn_system)
  target_link_options(${name} PRIVATE -fsanitize=fuzzer)
  if(NOT TARGET fuzz_targets)
    add_custom_target(fuzz_targets)
  endif()
  add_dependencies(fuzz_targets ${name})
endfunction()

# vrn_fuzz_smoke(<test> <script> <seconds> [args...]): a short run of a fuzz script as a test of the main
# build, on the clang build that scpi_fuzz_build makes in <build>/fuzz; skipped (77) without clang or its
# libFuzzer runtime, or with VRN_SKIP_FUZZ_SMOKE=1 in the environment.
function(vrn_fuzz_smoke test script)
  add_test(NAME ${test} COMMAND bash ${PROJECT_SOURCE_DIR}/scripts/${script} ${ARGN})
  set_tests_properties(${test} PROPERTIES SKIP_RETURN_CODE 77 TIMEOUT 900 LABELS fuzz
    ENVIRONMENT "VRN_FUZZ_BUILD_DIR=${CMAKE_BINARY_DIR}/fuzz")
endfunction()
