# The Pendulab board: an Arduino Uno on a USB serial port as a sample source.
# Protocol: docs/board-protocol.md. Firmware: firmware/pendulab-board.
find_package(Qt6 REQUIRED COMPONENTS SerialPort)
find_package(Threads REQUIRED)

# ---- the protocol's parser: plain C++, also sanitized for its tests ----
function(pendulab_board_protocol_library name)
  add_library(${name} STATIC ${CMAKE_SOURCE_DIR}/acquisition/BoardProtocol.cpp ${CMAKE_SOURCE_DIR}/acquisition/TextLines.cpp)
  target_include_directories(${name} PUBLIC ${CMAKE_SOURCE_DIR})
  target_compile_options(${name} PRIVATE ${PENDULAB_WARNINGS})
  set_target_properties(${name} PROPERTIES POSITION_INDEPENDENT_CODE ON)
endfunction()
pendulab_board_protocol_library(pendulab_board_protocol)
if(PENDULAB_SANITIZE)
  pendulab_board_protocol_library(pendulab_board_protocol_san)
  target_compile_options(pendulab_board_protocol_san PUBLIC ${PENDULAB_SAN_FLAGS} -Wno-restrict)
  target_link_options(pendulab_board_protocol_san PUBLIC ${PENDULAB_SAN_FLAGS})
endif()

# ---- the source: Qt Serial Port ----
add_library(pendulab_board STATIC ${CMAKE_SOURCE_DIR}/acquisition/SerialSource.cpp
            ${CMAKE_SOURCE_DIR}/acquisition/SerialRun.cpp ${CMAKE_SOURCE_DIR}/acquisition/PortThread.cpp
            ${CMAKE_SOURCE_DIR}/acquisition/SerialLink.cpp ${CMAKE_SOURCE_DIR}/acquisition/TextLineSource.cpp)
target_include_directories(pendulab_board PUBLIC ${CMAKE_SOURCE_DIR})
target_compile_options(pendulab_board PRIVATE ${PENDULAB_WARNINGS})
target_link_libraries(pendulab_board PUBLIC pendulab_board_protocol Qt6::SerialPort)

# ---- the firmware, for an Uno, with Debian's AVR toolchain and Arduino core ----
find_program(PENDULAB_AVR_GXX avr-g++)
set(PENDULAB_ARDUINO_CORE /usr/share/arduino/hardware/arduino/avr/cores/arduino)
set(PENDULAB_FIRMWARE_ELF ${CMAKE_BINARY_DIR}/firmware/pendulab-board.elf)
if(PENDULAB_AVR_GXX AND EXISTS ${PENDULAB_ARDUINO_CORE})
  add_custom_command(OUTPUT ${PENDULAB_FIRMWARE_ELF} ${CMAKE_BINARY_DIR}/firmware/pendulab-board.hex
    COMMAND ${CMAKE_SOURCE_DIR}/firmware/build-firmware.sh ${CMAKE_BINARY_DIR}/firmware
    DEPENDS ${CMAKE_SOURCE_DIR}/firmware/build-firmware.sh ${CMAKE_SOURCE_DIR}/firmware/pendulab-board/pendulab-board.ino
    COMMENT "Firmware of the Pendulab board (avr-g++, ATmega328P)"
    VERBATIM)
  add_custom_target(pendulab_board_firmware ALL DEPENDS ${PENDULAB_FIRMWARE_ELF})
else()
  message(WARNING "avr-g++ or the Arduino core is missing: the board's firmware and its simulated tests are left out "
                  "(scripts/install-deps.sh installs them)")
endif()

# ---- tests ----
# The parser, under the sanitizers when they are on.
if(PENDULAB_SANITIZE)
  set(_board_protocol_lib pendulab_board_protocol_san)
else()
  set(_board_protocol_lib pendulab_board_protocol)
endif()
add_executable(board_protocol_tests ${CMAKE_SOURCE_DIR}/tests/board/BoardProtocolTest.cpp
               ${CMAKE_SOURCE_DIR}/tests/board/TextLinesTest.cpp)
target_compile_options(board_protocol_tests PRIVATE ${PENDULAB_WARNINGS})
target_link_libraries(board_protocol_tests PRIVATE ${_board_protocol_lib} GTest::gtest_main)
gtest_discover_tests(board_protocol_tests TEST_PREFIX "board." DISCOVERY_TIMEOUT 60
  PROPERTIES ENVIRONMENT "ASAN_OPTIONS=detect_leaks=0:abort_on_error=1;UBSAN_OPTIONS=print_stacktrace=1")

# The source against a scripted board on a pseudo-terminal.
add_executable(board_serial_tests ${CMAKE_SOURCE_DIR}/tests/board/SerialSourceTest.cpp
               ${CMAKE_SOURCE_DIR}/tests/board/TextLineSourceTest.cpp)
target_compile_options(board_serial_tests PRIVATE ${PENDULAB_WARNINGS})
target_link_libraries(board_serial_tests PRIVATE pendulab_board pendulab_core GTest::gtest_main util)
gtest_discover_tests(board_serial_tests TEST_PREFIX "board." DISCOVERY_TIMEOUT 60)

# End to end: the compiled firmware in simavr, its UART on a pseudo-terminal, a damped sine on A0.
find_path(PENDULAB_SIMAVR_INCLUDE simavr/sim_avr.h)
find_library(PENDULAB_SIMAVR_LIB simavr)
find_library(PENDULAB_SIMAVR_PARTS_LIB simavrparts)
find_library(PENDULAB_ELF_LIB elf)
if(TARGET pendulab_board_firmware AND PENDULAB_SIMAVR_INCLUDE AND PENDULAB_SIMAVR_LIB AND PENDULAB_SIMAVR_PARTS_LIB
   AND PENDULAB_ELF_LIB)
  add_executable(pendulab_board_sim ${CMAKE_SOURCE_DIR}/tests/board/board_sim.cpp)
  # The simulator's part headers include their siblings without a folder.
  target_include_directories(pendulab_board_sim SYSTEM PRIVATE ${PENDULAB_SIMAVR_INCLUDE} ${PENDULAB_SIMAVR_INCLUDE}/simavr)
  target_compile_options(pendulab_board_sim PRIVATE ${PENDULAB_WARNINGS})
  target_link_libraries(pendulab_board_sim PRIVATE ${PENDULAB_SIMAVR_PARTS_LIB} ${PENDULAB_SIMAVR_LIB} ${PENDULAB_ELF_LIB}
                        Threads::Threads util)

  add_executable(board_sim_tests ${CMAKE_SOURCE_DIR}/tests/board/SimulatedBoardTest.cpp)
  target_compile_options(board_sim_tests PRIVATE ${PENDULAB_WARNINGS})
  target_link_libraries(board_sim_tests PRIVATE pendulab_board GTest::gtest_main)
  target_compile_definitions(board_sim_tests PRIVATE
    PENDULAB_BOARD_SIM="$<TARGET_FILE:pendulab_board_sim>" PENDULAB_BOARD_ELF="${PENDULAB_FIRMWARE_ELF}")
  add_dependencies(board_sim_tests pendulab_board_sim pendulab_board_firmware)
  # One simulator at a time: its bridge always names itself /tmp/simavr-uart0.
  gtest_discover_tests(board_sim_tests TEST_PREFIX "board." DISCOVERY_TIMEOUT 60
    PROPERTIES RUN_SERIAL TRUE TIMEOUT 120)
else()
  message(WARNING "simavr (libsimavr-dev, libelf-dev) or the firmware is missing: the simulated board's tests are left out")
endif()

# ---- speed ----
if(PENDULAB_BENCH AND benchmark_FOUND)
  add_executable(pendulab_board_bench ${CMAKE_SOURCE_DIR}/bench/bench_board.cpp)
  target_compile_options(pendulab_board_bench PRIVATE ${PENDULAB_WARNINGS})
  target_link_libraries(pendulab_board_bench PRIVATE pendulab_board_protocol benchmark::benchmark_main)
endif()
