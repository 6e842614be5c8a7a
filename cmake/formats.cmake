# Measurement file formats: Pendulab's CSV (write and read back), foreign delimited text import,
# the .xlsx workbook through libxlsxwriter. Plain C++ on top of pendulab_core.
find_package(PkgConfig REQUIRED)
pkg_check_modules(XLSXWRITER REQUIRED IMPORTED_TARGET xlsxwriter)
# The checkers use the distribution's Python, where python3-openpyxl is installed (a python3
# earlier on PATH, such as a pyenv shim, may lack it).
find_program(PENDULAB_SYSTEM_PYTHON python3 HINTS /usr/bin REQUIRED)
find_program(SSCONVERT ssconvert REQUIRED)

set(PENDULAB_FORMATS_SOURCES
  ${CMAKE_SOURCE_DIR}/export/FormatFiles.cpp
  ${CMAKE_SOURCE_DIR}/export/CsvFormat.cpp
  ${CMAKE_SOURCE_DIR}/export/TextImport.cpp
  ${CMAKE_SOURCE_DIR}/export/XlsxFormat.cpp
)

function(pendulab_formats_library name core)
  add_library(${name} STATIC ${PENDULAB_FORMATS_SOURCES})
  target_include_directories(${name} PUBLIC ${CMAKE_SOURCE_DIR})
  target_compile_options(${name} PRIVATE ${PENDULAB_WARNINGS})
  target_link_libraries(${name} PUBLIC ${core} PkgConfig::XLSXWRITER)
  set_target_properties(${name} PROPERTIES POSITION_INDEPENDENT_CODE ON AUTOMOC OFF AUTORCC OFF)
endfunction()

pendulab_formats_library(pendulab_formats pendulab_core)

file(GLOB FORMATS_TEST_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/formats/*.cpp)
set(FORMATS_TEST_DEFINITIONS
  PENDULAB_FORMATS_CHECKERS="${CMAKE_SOURCE_DIR}/tests/formats/"
  PENDULAB_PYTHON="${PENDULAB_SYSTEM_PYTHON}"
  PENDULAB_SSCONVERT="${SSCONVERT}")

add_executable(formats_tests ${FORMATS_TEST_SOURCES})
target_compile_options(formats_tests PRIVATE ${PENDULAB_WARNINGS})
target_compile_definitions(formats_tests PRIVATE ${FORMATS_TEST_DEFINITIONS})
target_link_libraries(formats_tests PRIVATE pendulab_formats GTest::gtest_main)
set_target_properties(formats_tests PROPERTIES AUTOMOC OFF AUTORCC OFF)
gtest_discover_tests(formats_tests TEST_PREFIX "formats." DISCOVERY_TIMEOUT 60)

if(PENDULAB_SANITIZE)
  # Our code under ASan + UBSan (libxlsxwriter itself is not instrumented).
  pendulab_formats_library(pendulab_formats_san pendulab_core_san)
  add_executable(formats_tests_san ${FORMATS_TEST_SOURCES})
  target_compile_options(formats_tests_san PRIVATE ${PENDULAB_WARNINGS})
  target_compile_definitions(formats_tests_san PRIVATE ${FORMATS_TEST_DEFINITIONS})
  target_link_libraries(formats_tests_san PRIVATE pendulab_formats_san GTest::gtest_main)
  set_target_properties(formats_tests_san PROPERTIES AUTOMOC OFF AUTORCC OFF)
  # One process: the sanitizers' start-up is paid once.
  add_test(NAME sanitized.formats_tests COMMAND formats_tests_san)
  set_tests_properties(sanitized.formats_tests PROPERTIES
    ENVIRONMENT "ASAN_OPTIONS=detect_leaks=1:abort_on_error=1;UBSAN_OPTIONS=print_stacktrace=1")
endif()

if(benchmark_FOUND)
  add_executable(pendulab_formats_bench ${CMAKE_SOURCE_DIR}/bench/bench_formats.cpp)
  target_compile_options(pendulab_formats_bench PRIVATE ${PENDULAB_WARNINGS})
  target_link_libraries(pendulab_formats_bench PRIVATE pendulab_formats benchmark::benchmark_main)
  set_target_properties(pendulab_formats_bench PROPERTIES AUTOMOC OFF AUTORCC OFF)
endif()
