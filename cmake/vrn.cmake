# The subsystems call each other both ways (the core calls the engine, the engine the core), as one
# process does; so the libraries are linked as one group (vrn_system) instead of by a layered order.

# vrn_library(<name>): one static library from the *.cpp files of the calling folder.
function(vrn_library name)
  file(GLOB srcs CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  add_library(${name} STATIC ${srcs})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
  target_link_libraries(${name} PUBLIC Threads::Threads)
  set_property(GLOBAL APPEND PROPERTY VRN_LIBRARIES ${name})
endfunction()

# vrn_system: every subsystem library, linked as one group. Called once all folders are added.
function(vrn_system_target)
  get_property(libs GLOBAL PROPERTY VRN_LIBRARIES)
  list(JOIN libs "," joined)
  add_library(vrn_system INTERFACE)
  target_link_libraries(vrn_system INTERFACE "$<LINK_GROUP:RESCAN,${joined}>" Threads::Threads)
endfunction()

# vrn_tests(<name> [DEPS <lib>...]): one gtest executable from the *_test.cpp files of the calling
# folder, registered with ctest; each *_bench.cpp becomes a Google Benchmark program (not run by ctest).
# *_fixture.cpp files are shared helpers compiled into both.
function(vrn_tests name)
  cmake_parse_arguments(ARG "" "" "DEPS" ${ARGN})
  file(GLOB tests CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*_test.cpp)
  file(GLOB helpers CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*_fixture.cpp)
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
  file(GLOB benches CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*_bench.cpp)
  foreach(bench IN LISTS benches)
    get_filename_component(bname ${bench} NAME_WE)
    add_executable(${bname} ${bench} ${helpers})
    target_link_libraries(${bname} PRIVATE ${ARG_DEPS} ${support} vrn_system benchmark::benchmark_main)
  endforeach()
endfunction()
