#pragma once
// What every source on a serial port does with it: open it (with a French message saying why it
// cannot be), and tell a port whose device went away. Call these on the port's own thread.
#include <QSerialPort>

#include <memory>
#include <string>

namespace pendulab {

// Opens `path` read-write at `baud`, 8 data bits, no parity, one stop bit, no flow control, its
// buffers emptied. `injectedErrno` (tests only) fails as if opening had failed with that errno.
// Throws SourceError (openFailureMessage's text).
std::unique_ptr<QSerialPort> openSerialPort(const std::string& path, qint32 baud, int injectedErrno = 0);

// An unplugged USB device, or a pseudo-terminal whose other end closed, hangs the port up; Qt's
// wait does not always say so.
bool hungUp(const QSerialPort& port);

// Raises a flag (a bool or an atomic one) for as long as it lives: "a run goes on", "the board
// is being looked for"; lowered however the scope ends.
template <class Flag>
class RaisedWhile {
public:
    explicit RaisedWhile(Flag& flag) : flag_(flag) { flag_ = true; }
    ~RaisedWhile() { flag_ = false; }
    RaisedWhile(const RaisedWhile&) = delete;
    RaisedWhile& operator=(const RaisedWhile&) = delete;

private:
    Flag& flag_;
};

} // namespace pendulab
