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

# vrn_tests(<name> [DEPS <lib>...]): one gtest executable from the *_test.cpp files of the calling
# folder and its subfolders, registered with ctest; each *_bench.cpp becomes a Google Benchmark program (not run by ctest).
# *_fixture.cpp files are shared helpers compiled into both.
function(vrn_tests name)
  cmake_parse_arguments(ARG "" "" "DEPS" ${ARGN})
  vrn_folder_files(tests *_test.cpp)
  vrn_folder_files(helpers *_fixture.cpp)
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
  set(benches)
  if(VRN_BUILD_BENCHMARKS)
    vrn_folder_files(benches *_bench.cpp)
  endif()
  foreach(bench IN LISTS benches)
    get_filename_component(bname ${bench} NAME_WE)
    add_executable(${bname} ${bench} ${helpers})
    target_link_libraries(${bname} PRIVATE ${ARG_DEPS} ${support} vrn_system benchmark::benchmark_main)
  endforeach()
endfunction()

# vrn_system_bench(<name>): a Google Benchmark program of a running controller, from <name>.cpp of the
# calling folder; left out with the other benchmarks.
function(vrn_system_bench name)
  if(VRN_BUILD_BENCHMARKS)
    add_executable(${name} ${name}.cpp)
    target_link_libraries(${name} PRIVATE vrn_testsupport benchmark::benchmark_main)
    target_compile_definitions(${name} PRIVATE VRN_BINARY_DIR="${CMAKE_BINARY_DIR}")
  endif()
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
