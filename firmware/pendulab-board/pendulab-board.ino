// Pendulab board: an Arduino Uno reads a position sensor on A0 and sends the readings over USB.
// The lines it exchanges with the program are described in docs/board-protocol.md.
//
// Sampling runs on Timer1: it counts the period in CTC mode on the board's quartz, and its compare
// interrupt starts each conversion, so sample i is taken at start + i * period, with no drift; the
// only jitter is the interrupt latency (a few microseconds when another interrupt is being served).
// The ADC interrupt queues the codes; loop() formats and sends them, and listens for STOP.
#include <Arduino.h>
#include <avr/interrupt.h>
#include <avr/io.h>

namespace {

const uint32_t kBaud = 250000UL;          // Serial.begin picks U2X0 with UBRR0 = 7: 0 % error
const uint16_t kVrefMillivolts = 5000;    // AVcc reference on an Uno
const uint8_t kBits = 10;
const uint32_t kMicrosPerByte = 40;       // 10 bits on the wire (8N1) at 250000 baud
const uint32_t kMinPeriodUs = 200;        // one conversion: 13 ADC clocks at 125 kHz = 104 us
const uint8_t kQueueSize = 64;            // power of two
const uint8_t kLineMax = 40;

volatile uint16_t queue[kQueueSize];
volatile uint8_t queueHead;               // written by the ADC interrupt
volatile uint8_t queueTail;               // written by loop()
volatile uint32_t converted;              // conversions queued in this run
volatile bool samplingDone;               // the interrupt has queued its last conversion
volatile bool overrun;                    // the queue was full: a sample would have been lost
uint32_t runCount;                        // 0: until STOP
uint32_t sent;
bool running;

char line[kLineMax + 1];
uint8_t lineLength;
bool lineTooLong;

// Stops Timer1 and the auto-triggered conversions. Safe in or out of the interrupt.
void stopSampling() {
    TCCR1B = 0;
    TIMSK1 = 0;
    ADCSRA = _BV(ADEN) | _BV(ADPS2) | _BV(ADPS1) | _BV(ADPS0);  // back to analogRead's settings
}

}  // namespace

ISR(TIMER1_COMPA_vect) {
    ADCSRA |= _BV(ADSC);
}

ISR(ADC_vect) {
    const uint16_t code = ADC;
    const uint8_t next = (queueHead + 1) & (kQueueSize - 1);
    if (next == queueTail) {
        overrun = true;
        samplingDone = true;
        stopSampling();
        return;
    }
    queue[queueHead] = code;
    queueHead = next;
    ++converted;
    if (runCount != 0 && converted == runCount) {
        samplingDone = true;
        stopSampling();
    }
}

namespace {

uint8_t formatUnsigned(uint32_t value, char* out) {
    char digits[10];
    uint8_t n = 0;
    do {
        digits[n++] = static_cast<char>('0' + value % 10);
        value /= 10;
    } while (value != 0);
    for (uint8_t i = 0; i < n; ++i) out[i] = digits[n - 1 - i];
    return n;
}

uint8_t digitCount(uint32_t value) {
    uint8_t n = 1;
    while (value >= 10) {
        value /= 10;
        ++n;
    }
    return n;
}

void sendNumberLine(const char* prefix, uint32_t value, const char* suffix) {
    char text[12];
    Serial.print(prefix);
    Serial.write(reinterpret_cast<const uint8_t*>(text), formatUnsigned(value, text));
    Serial.print(suffix);
    Serial.print('\n');
}

void sendSample(uint32_t index, uint16_t code) {
    char text[18];
    uint8_t n = formatUnsigned(index, text);
    text[n++] = ' ';
    n += formatUnsigned(code, text + n);
    text[n++] = '\n';
    Serial.write(reinterpret_cast<const uint8_t*>(text), n);
}

// Parses a decimal number made of digits only, no sign, no overflow.
bool parseUnsigned(const char*& p, uint32_t& value) {
    if (*p < '0' || *p > '9') return false;
    uint32_t v = 0;
    while (*p >= '0' && *p <= '9') {
        const uint8_t d = static_cast<uint8_t>(*p - '0');
        if (v > (0xFFFFFFFFUL - d) / 10) return false;
        v = v * 10 + d;
        ++p;
    }
    value = v;
    return true;
}

// Timer1 prescalers: (clock select bits, microseconds per tick as a shift of 1/2 us).
bool chooseTimer(uint32_t periodUs, uint8_t& clockSelect, uint16_t& ticks) {
    struct Choice { uint8_t cs; uint32_t ticksPer64Us; };
    // 16 MHz / 8 = 2 ticks/us, /64 = 1 tick per 4 us, /256 = per 16 us, /1024 = per 64 us.
    const Choice choices[] = {{_BV(CS11), 128}, {_BV(CS11) | _BV(CS10), 16}, {_BV(CS12), 4},
                              {_BV(CS12) | _BV(CS10), 1}};
    for (const Choice& c : choices) {
        const uint32_t scaled = periodUs * c.ticksPer64Us;  // ticks * 64, exact when divisible
        if (periodUs > 0x7FFFFFUL || scaled % 64 != 0) continue;
        const uint32_t t = scaled / 64;
        if (t >= 2 && t <= 65536UL) {
            clockSelect = c.cs;
            ticks = static_cast<uint16_t>(t - 1);  // CTC counts 0..OCR1A
            return true;
        }
    }
    return false;
}

void startRun(uint32_t count, uint32_t periodUs) {
    // The UART must carry the longest line of the run within one period.
    const uint32_t lastIndex = count == 0 ? 0xFFFFFFFFUL : count - 1;
    const uint32_t lineBytes = digitCount(lastIndex) + 1 + digitCount((1UL << kBits) - 1) + 1;
    uint32_t minPeriod = lineBytes * kMicrosPerByte;
    if (minPeriod < kMinPeriodUs) minPeriod = kMinPeriodUs;
    if (periodUs < minPeriod) {
        sendNumberLine("ERR periode trop courte (minimum ", minPeriod, " us)");
        return;
    }
    uint8_t clockSelect = 0;
    uint16_t top = 0;
    if (!chooseTimer(periodUs, clockSelect, top)) {
        sendNumberLine("ERR periode impossible a tenir : ", periodUs, " us");
        return;
    }

    Serial.print("RUN ");
    char text[12];
    Serial.write(reinterpret_cast<const uint8_t*>(text), formatUnsigned(count, text));
    Serial.print(' ');
    Serial.write(reinterpret_cast<const uint8_t*>(text), formatUnsigned(periodUs, text));
    Serial.print('\n');

    runCount = count;
    sent = 0;
    converted = 0;
    queueHead = 0;
    queueTail = 0;
    samplingDone = false;
    overrun = false;
    running = true;

    cli();
    TCCR1B = 0;
    TCCR1A = 0;
    TCNT1 = 0;
    OCR1A = top;
    TIFR1 = _BV(OCF1A) | _BV(OCF1B) | _BV(TOV1) | _BV(ICF1);
    TIMSK1 = _BV(OCIE1A);
    ADMUX = _BV(REFS0);                               // AVcc reference, channel A0
    ADCSRA = _BV(ADEN) | _BV(ADIE) | _BV(ADIF) | _BV(ADPS2) | _BV(ADPS1) | _BV(ADPS0);
    TCCR1B = _BV(WGM12) | clockSelect;                // CTC, TOP = OCR1A: starts counting now
    sei();
}

void finishRun() {
    running = false;
    if (overrun) {
        sendNumberLine("ERR debordement apres ", sent, " echantillons");
    } else {
        Serial.print("END\n");
    }
}

void handleLine() {
    if (lineTooLong) {
        if (!running) Serial.print("ERR ligne trop longue\n");
        return;
    }
    if (lineLength == 0) return;
    if (strcmp(line, "STOP") == 0) {
        if (running) {
            cli();
            stopSampling();
            samplingDone = true;
            sei();
        }
        return;  // nothing runs: nothing to stop
    }
    if (running) return;  // a run only listens for STOP
    if (strcmp(line, "ID?") == 0) {
        Serial.print("PENDULAB-BOARD 1 ");
        Serial.print(kBits);
        Serial.print(' ');
        Serial.print(kVrefMillivolts);
        Serial.print('\n');
    } else if (strcmp(line, "READ") == 0) {
        sendNumberLine("", static_cast<uint32_t>(analogRead(A0)), "");
    } else if (strncmp(line, "RUN ", 4) == 0) {
        const char* p = line + 4;
        uint32_t count = 0;
        uint32_t period = 0;
        if (parseUnsigned(p, count) && *p++ == ' ' && parseUnsigned(p, period) && *p == '\0') {
            startRun(count, period);
        } else {
            Serial.print("ERR RUN attend : RUN <nombre> <periode_us>\n");
        }
    } else {
        Serial.print("ERR commande inconnue\n");
    }
}

void readCommands() {
    while (Serial.available() > 0) {
        const char c = static_cast<char>(Serial.read());
        if (c == '\n') {
            line[lineLength] = '\0';
            handleLine();
            lineLength = 0;
            lineTooLong = false;
        } else if (c == '\r') {
            // "\r\n" ends a line as well as "\n"
        } else if (lineLength < kLineMax) {
            line[lineLength++] = c;
        } else {
            lineTooLong = true;
        }
    }
}

void sendQueued() {
    while (queueTail != queueHead) {
        const uint8_t tail = queueTail;
        sendSample(sent++, queue[tail]);
        queueTail = (tail + 1) & (kQueueSize - 1);
    }
}

}  // namespace

void setup() {
    Serial.begin(kBaud);
}

void loop() {
    readCommands();
    if (running) {
        const bool done = samplingDone;  // read before draining: every queued code is then sent
        sendQueued();
        if (done) {
            sendQueued();
            finishRun();
        }
    }
}
