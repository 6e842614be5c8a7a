#include "acquisition/SerialLink.h"

#include <cerrno>
#include <poll.h>
#include <unistd.h>

#include "acquisition/SerialSource.h"

namespace pendulab {

std::unique_ptr<QSerialPort> openSerialPort(const std::string& path, qint32 baud, int injectedErrno)
{
    if (injectedErrno != 0) throw SourceError(openFailureMessage(path, injectedErrno));
    auto port = std::make_unique<QSerialPort>();
    port->setPortName(QString::fromStdString(path));
    if (!port->open(QIODevice::ReadWrite)) {
        const auto error = port->error();
        const std::string detail = port->errorString().toStdString();
        int code = EIO;
        if (error == QSerialPort::DeviceNotFoundError) {
            code = ENOENT;
        } else if (error == QSerialPort::PermissionError) {
            // Qt says "permission" both for a refused access and for a port another program holds.
            code = (::access(path.c_str(), R_OK | W_OK) != 0 && errno == EACCES) ? EACCES : EBUSY;
        }
        std::string message = openFailureMessage(path, code);
        if (code == EIO) message.append(" ").append(detail);
        throw SourceError(message);
    }
    // A pseudo-terminal, or a USB bridge, may refuse some of these: it still carries the bytes.
    port->setBaudRate(baud);
    port->setDataBits(QSerialPort::Data8);
    port->setParity(QSerialPort::NoParity);
    port->setStopBits(QSerialPort::OneStop);
    port->setFlowControl(QSerialPort::NoFlowControl);
    port->clearError();
    port->clear();
    return port;
}

bool hungUp(const QSerialPort& port)
{
    pollfd p{static_cast<int>(port.handle()), POLLIN, 0};
    return ::poll(&p, 1, 0) > 0 && (p.revents & (POLLHUP | POLLERR | POLLNVAL)) != 0;
}

} // namespace pendulab
