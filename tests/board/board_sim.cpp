// Runs the board's firmware on a simulated ATmega328P (simavr) with its UART bridged to a
// pseudo-terminal, and a damped sine on A0, so the program can record from it as from a real Uno.
//
//   pendulab_board_sim <firmware.elf> <offset_mV> <amplitude_mV> <frequency_Hz> <decay_s> [max_s]
//
// The A0 voltage is offset + amplitude * exp(-t / decay) * sin(2 pi f t), t in simulated seconds.
// Prints "PTY <path>" once the bridge is up, then runs until SIGTERM or max_s wall-clock seconds.
//
// simavr's bridge hands the AVR's output to its own thread through a FIFO of 512 bytes (the port's
// `in`; `out` carries the other way), which that thread writes to the pseudo-terminal; a byte that
// finds the FIFO full is dropped. On a loaded machine that thread falls behind, so the AVR waits
// while the FIFO is over half full: simulated time stands still, and no byte is lost.
#include <simavr/avr_adc.h>
#include <simavr/sim_avr.h>
#include <simavr/sim_elf.h>
extern "C" {
#include <simavr/parts/uart_pty.h>
}

#include <atomic>
#include <chrono>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <numbers>
#include <thread>

namespace {

volatile std::sig_atomic_t stopRequested = 0;

void onSignal(int) { stopRequested = 1; }

// Bytes of the AVR's output that the bridge's thread has not taken yet. The AVR (this thread) moves
// the write cursor; that thread moves the read cursor.
unsigned outputBacklog(uart_pty_fifo_t& fromAvr) {
    const unsigned read = std::atomic_ref(fromAvr.read).load(std::memory_order_acquire);
    const unsigned write = fromAvr.write;
    return (write + uart_pty_fifo_fifo_size - read) & (uart_pty_fifo_fifo_size - 1);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 6) {
        std::fprintf(stderr, "usage: %s firmware.elf offset_mV amplitude_mV frequency_Hz decay_s [max_s]\n", argv[0]);
        return 2;
    }
    const double offset = std::atof(argv[2]);
    const double amplitude = std::atof(argv[3]);
    const double frequency = std::atof(argv[4]);
    const double decay = std::atof(argv[5]);
    const double maxSeconds = argc > 6 ? std::atof(argv[6]) : 60.0;

    elf_firmware_t firmware{};
    if (elf_read_firmware(argv[1], &firmware) != 0) {
        std::fprintf(stderr, "cannot read %s\n", argv[1]);
        return 1;
    }
    avr_t* avr = avr_make_mcu_by_name("atmega328p");
    if (avr == nullptr) return 1;
    avr_init(avr);
    avr->frequency = 16000000;
    avr->vcc = 5000;
    avr->avcc = 5000;  // an Uno: AVcc is the 5 V supply, and the ADC's reference
    avr->aref = 5000;
    avr_load_firmware(avr, &firmware);

    uart_pty_t pty{};
    uart_pty_init(avr, &pty);
    uart_pty_connect(&pty, '0');
    std::printf("PTY %s\n", pty.port[0].slavename);
    std::fflush(stdout);

    std::signal(SIGTERM, onSignal);
    std::signal(SIGINT, onSignal);

    avr_irq_t* adc0 = avr_io_getirq(avr, AVR_IOCTL_ADC_GETIRQ, ADC_IRQ_ADC0);
    const auto start = std::chrono::steady_clock::now();
    const auto timeUp = [&] {
        if (std::chrono::steady_clock::now() - start <= std::chrono::duration<double>(maxSeconds)) return false;
        std::fprintf(stderr, "board_sim: %.0f s elapsed, stopping\n", maxSeconds);
        return true;
    };
    const avr_cycle_count_t step = 16;  // the input is refreshed every simulated microsecond
    avr_cycle_count_t nextInput = 0;
    int state = cpu_Running;
    unsigned long loops = 0;
    while (!stopRequested && state != cpu_Done && state != cpu_Crashed) {
        if (outputBacklog(pty.pty.in) > uart_pty_fifo_fifo_size / 2) {
            std::this_thread::sleep_for(std::chrono::microseconds(100));  // the bridge catches up
            if (timeUp()) break;
            continue;
        }
        if (avr->cycle >= nextInput) {
            const double t = static_cast<double>(avr->cycle) / avr->frequency;
            const double mv = offset + amplitude * std::exp(-t / decay) * std::sin(2 * std::numbers::pi * frequency * t);
            avr_raise_irq(adc0, static_cast<uint32_t>(std::lround(std::fmax(mv, 0.0))));
            nextInput = avr->cycle + step;
        }
        state = avr_run(avr);
        if (++loops % 1000000 == 0 && timeUp()) break;
    }
    // Not uart_pty_stop(): its bridge thread may never notice it should end, and the join hangs.
    // Leaving the process closes the pseudo-terminal and ends that thread.
    std::fflush(stderr);
    std::_Exit(state == cpu_Crashed ? 1 : 0);
}
