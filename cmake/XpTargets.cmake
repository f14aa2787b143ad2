# Helpers that keep the folder CMakeLists.txt files short: libraries, tests and benchmarks.

# xp_library(NAME SOURCES ... [LIBS ...] [PRIVATE_LIBS ...]): a static library whose headers are included
# as "folder/file.h". LIBS are the libraries its headers expose; PRIVATE_LIBS those only its sources use.
function(xp_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS;PRIVATE_LIBS" ${ARGN})
  add_library(${name} STATIC ${ARG_SOURCES})
  target_include_directories(${name} PUBLIC ${CMAKE_SOURCE_DIR})
  target_link_libraries(${name} PUBLIC ${ARG_LIBS} PRIVATE ${ARG_PRIVATE_LIBS})
endfunction()

# xp_test(NAME SOURCES ... [LIBS ...] [ENV ...]): a GoogleTest binary whose cases CTest runs one by one.
function(xp_test name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS;ENV" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest GTest::gtest_main GTest::gmock Threads::Threads)
  gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 60
                       PROPERTIES ENVIRONMENT "${ARG_ENV}")
endfunction()

# xp_bench(NAME SOURCES ... [LIBS ...]): a Google Benchmark binary, run by `make bench`.
function(xp_bench name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} benchmark::benchmark Threads::Threads)
  set_property(GLOBAL APPEND PROPERTY XP_BENCHMARKS ${name})
endfunction()
