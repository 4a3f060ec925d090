# vrn_library(<name> [DEPS <lib>...]): one static library from the *.cpp files of the calling folder.
function(vrn_library name)
  cmake_parse_arguments(ARG "" "" "DEPS" ${ARGN})
  file(GLOB srcs CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  add_library(${name} STATIC ${srcs})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
  target_link_libraries(${name} PUBLIC ${ARG_DEPS} Threads::Threads)
endfunction()

# vrn_tests(<name> [DEPS <lib>...]): one gtest executable from the *_test.cpp files of the calling
# folder, registered with ctest; each *_bench.cpp becomes a Google Benchmark program (not run by ctest).
function(vrn_tests name)
  cmake_parse_arguments(ARG "" "" "DEPS" ${ARGN})
  file(GLOB tests CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*_test.cpp)
  file(GLOB helpers CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*_fixture.cpp)
  if(tests)
    add_executable(${name} ${tests} ${helpers})
    target_link_libraries(${name} PRIVATE ${ARG_DEPS} vrn_testsupport GTest::gtest_main GTest::gmock)
    gtest_discover_tests(${name} DISCOVERY_TIMEOUT 120
      PROPERTIES ENVIRONMENT "VRN_TEST_BIN_DIR=${CMAKE_BINARY_DIR}")
  endif()
  file(GLOB benches CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*_bench.cpp)
  foreach(bench IN LISTS benches)
    get_filename_component(bname ${bench} NAME_WE)
    add_executable(${bname} ${bench} ${helpers})
    target_link_libraries(${bname} PRIVATE ${ARG_DEPS} vrn_testsupport benchmark::benchmark_main)
  endforeach()
endfunction()
