# The automatic fit of the oscillator model to a recording (GSL's trust-region least squares), the
# steady state of a driven motion, and the laws fitted through results across runs.
find_package(GSL REQUIRED)

function(pendulab_fit_library name core)
  add_library(${name} STATIC ${CMAKE_SOURCE_DIR}/model/Fit.cpp ${CMAKE_SOURCE_DIR}/model/FitCore.cpp
              ${CMAKE_SOURCE_DIR}/model/FitStart.cpp ${CMAKE_SOURCE_DIR}/model/FitReport.cpp
              ${CMAKE_SOURCE_DIR}/model/FitDerived.cpp ${CMAKE_SOURCE_DIR}/model/FitStartValues.cpp
              ${CMAKE_SOURCE_DIR}/model/Laws.cpp ${CMAKE_SOURCE_DIR}/model/LawPower.cpp
              ${CMAKE_SOURCE_DIR}/model/LawResonance.cpp ${CMAKE_SOURCE_DIR}/model/SteadyState.cpp
              ${CMAKE_SOURCE_DIR}/analysis/Fourier.cpp)
  target_include_directories(${name} PUBLIC ${CMAKE_SOURCE_DIR})
  target_compile_options(${name} PRIVATE ${PENDULAB_WARNINGS})
  target_link_libraries(${name} PUBLIC ${core} GSL::gsl)
  set_target_properties(${name} PROPERTIES POSITION_INDEPENDENT_CODE ON AUTOMOC OFF)
endfunction()

pendulab_fit_library(pendulab_fit pendulab_core)

# The spectrum's test compares with numpy (tests/fit/fourier_oracle.py), under the system's Python.
find_program(PENDULAB_SYSTEM_PYTHON python3 HINTS /usr/bin REQUIRED)
set(FIT_TEST_DEFINITIONS PENDULAB_FIT_ORACLES="${CMAKE_SOURCE_DIR}/tests/fit/" PENDULAB_PYTHON="${PENDULAB_SYSTEM_PYTHON}")

file(GLOB FIT_TEST_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/fit/*.cpp)
list(APPEND FIT_TEST_SOURCES ${CMAKE_SOURCE_DIR}/virtualcard/Pendulum.cpp) # the recordings fitted
add_executable(fit_tests ${FIT_TEST_SOURCES})
target_compile_options(fit_tests PRIVATE ${PENDULAB_WARNINGS})
target_compile_definitions(fit_tests PRIVATE ${FIT_TEST_DEFINITIONS})
target_link_libraries(fit_tests PRIVATE pendulab_fit GTest::gtest_main)
set_target_properties(fit_tests PROPERTIES AUTOMOC OFF)
gtest_discover_tests(fit_tests TEST_PREFIX "fit." DISCOVERY_TIMEOUT 60)

if(PENDULAB_SANITIZE)
  pendulab_fit_library(pendulab_fit_san pendulab_core_san)
  add_executable(fit_tests_san ${FIT_TEST_SOURCES})
  target_compile_options(fit_tests_san PRIVATE ${PENDULAB_WARNINGS})
  target_compile_definitions(fit_tests_san PRIVATE ${FIT_TEST_DEFINITIONS})
  target_link_libraries(fit_tests_san PRIVATE pendulab_fit_san GTest::gtest_main)
  set_target_properties(fit_tests_san PROPERTIES AUTOMOC OFF)
  # One process for the whole suite: the sanitizers' start-up is paid once.
  add_test(NAME sanitized.fit_tests COMMAND fit_tests_san)
  set_tests_properties(sanitized.fit_tests PROPERTIES
    ENVIRONMENT "ASAN_OPTIONS=detect_leaks=0:abort_on_error=1;UBSAN_OPTIONS=print_stacktrace=1")
endif()

if(PENDULAB_BENCH AND benchmark_FOUND)
  add_executable(pendulab_fit_bench ${CMAKE_SOURCE_DIR}/bench/bench_fit.cpp ${CMAKE_SOURCE_DIR}/bench/bench_fourier.cpp
                 ${CMAKE_SOURCE_DIR}/virtualcard/Pendulum.cpp)
  target_compile_options(pendulab_fit_bench PRIVATE ${PENDULAB_WARNINGS})
  target_link_libraries(pendulab_fit_bench PRIVATE pendulab_fit benchmark::benchmark_main)
  set_target_properties(pendulab_fit_bench PROPERTIES AUTOMOC OFF)
endif()
