# Warnings for our own targets only; third-party headers come in as system includes.
function(tav_warnings target)
    target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic)
endfunction()

# tav_add_test(name SOURCES a.cpp b.cpp LIBS lib1 lib2 [ZONES tz... [ZONE_FILTER gtest-filter]])
# One test program per folder, registered with CTest test by test. The shared main
# (tests/support/TestMain.cpp) sets the tests' environment, so that it holds however the program
# is started: a data home of the run's own (the user's order number stays untouched) and the
# offscreen platform. ZONES registers the tests (or those ZONE_FILTER picks) once more under
# each time zone, named "<zone>:Test.Case": local days and clocks show faults only outside UTC.
function(tav_add_test name)
    cmake_parse_arguments(T "" "ZONE_FILTER" "SOURCES;LIBS;ZONES" ${ARGN})
    if(T_UNPARSED_ARGUMENTS)
        message(FATAL_ERROR "tav_add_test: unknown arguments ${T_UNPARSED_ARGUMENTS}")
    endif()
    add_executable(${name} ${T_SOURCES})
    set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
    target_link_libraries(${name} PRIVATE ${T_LIBS} tavrolab_test_main GTest::gtest)
    target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/src ${PROJECT_SOURCE_DIR}/tests)
    target_compile_definitions(${name} PRIVATE
        TAV_SOURCE_DIR="${PROJECT_SOURCE_DIR}" TAV_BINARY_DIR="${CMAKE_BINARY_DIR}"
        TAV_BIN_DIR="${TAVROLAB_BIN_DIR}")
    tav_warnings(${name})
    gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60)
    if(NOT T_ZONE_FILTER)
        set(T_ZONE_FILTER "*")
    endif()
    foreach(zone IN LISTS T_ZONES)
        gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 TEST_PREFIX "${zone}:"
            TEST_FILTER "${T_ZONE_FILTER}" PROPERTIES ENVIRONMENT "TZ=${zone}")
    endforeach()
endfunction()

# tav_add_bench(name SOURCES a.cpp LIBS lib1 lib2): a benchmark program in build/bench, with the
# test support headers and the source and build folders at hand.
function(tav_add_bench name)
    cmake_parse_arguments(B "" "" "SOURCES;LIBS" ${ARGN})
    add_executable(${name} ${B_SOURCES})
    set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bench)
    target_link_libraries(${name} PRIVATE ${B_LIBS})
    target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/src ${PROJECT_SOURCE_DIR}/tests)
    target_compile_definitions(${name} PRIVATE
        TAV_SOURCE_DIR="${PROJECT_SOURCE_DIR}" TAV_BINARY_DIR="${CMAKE_BINARY_DIR}")
    tav_warnings(${name})
endfunction()

# tav_add_fuzzer(name SOURCES ... LIBS ...): only when TAVROLAB_FUZZ is on (clang).
function(tav_add_fuzzer name)
    cmake_parse_arguments(F "" "" "SOURCES;LIBS" ${ARGN})
    if(NOT TAVROLAB_FUZZ)
        return()
    endif()
    add_executable(${name} ${F_SOURCES})
    set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/fuzz)
    target_compile_options(${name} PRIVATE -fsanitize=fuzzer)
    target_link_options(${name} PRIVATE -fsanitize=fuzzer)
    target_link_libraries(${name} PRIVATE ${F_LIBS})
    target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/src)
endfunction()
