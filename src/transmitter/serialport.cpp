#include "transmitter/serialport.h"

#include <QDeadlineTimer>
#include <QFileInfo>
#include <QSerialPort>

#include "support/apppaths.h"
#include "support/diagnostics.h"

namespace {

class DeviceSerialPort : public SerialPort {
public:
    bool open(const QString& deviceName) {
        port.setPortName(deviceName);
        // Parity, stop bits and flow control keep QSerialPort's 8N1 without
        // flow control, which is what the transmitter speaks.
        port.setBaudRate(QSerialPort::Baud9600);
        port.setDataBits(QSerialPort::Data8);
        // Opening applies the settings; a pseudo-terminal accepts them too.
        if (port.open(QIODevice::ReadWrite))
            return true;
        qCDebug(lcTransmitter).noquote()
            << "cannot open" << deviceName << ":" << port.errorString();
        return false;
    }

    qint64 writeChunk(const char* data, qint64 size, int timeoutMs) override {
        const qint64 queued = port.write(data, size);
        if (queued < 0)
            return -1;
        const QDeadlineTimer deadline(timeoutMs);
        while (port.bytesToWrite() > 0) {
            if (!port.waitForBytesWritten(int(deadline.remainingTime()))) {
                if (port.error() != QSerialPort::TimeoutError &&
                    port.error() != QSerialPort::NoError)
                    return -1;
                const qint64 sent = queued - port.bytesToWrite();
                port.clear(QSerialPort::Output);
                port.clearError();
                return sent;
            }
        }
        return queued;
    }

    qint64 readSome(char* buffer, qint64 capacity, int timeoutMs) override {
        if (port.bytesAvailable() == 0 && !port.waitForReadyRead(timeoutMs)) {
            if (port.error() == QSerialPort::TimeoutError || port.error() == QSerialPort::NoError) {
                port.clearError();
                return 0;
            }
            return -1;
        }
        return port.read(buffer, capacity);
    }

    void clearErrors() override { port.clearError(); }

    void discardInput() override {
        port.clear(QSerialPort::Input);
        port.clearError();
    }

private:
    QSerialPort port;
};

} // namespace

QString SerialPortDeviceName(int n) {
#ifdef Q_OS_WIN
    return QStringLiteral("COM%1").arg(n);
#else
    const QString mapped = GetStationFolder() + QStringLiteral("/ports/COM%1").arg(n);
    const QFileInfo entry(mapped);
    if (entry.exists() || entry.isSymLink())
        return mapped;
    return QStringLiteral("/dev/ttyUSB%1").arg(n - 1);
#endif
}

std::unique_ptr<SerialPort> OpenSerialPort(int n) {
    if (n <= 0)
        return nullptr;
    const QString name = SerialPortDeviceName(n);
#ifndef Q_OS_WIN
    // QFileInfo follows the link: a mapping to a missing device fails here.
    if (!QFileInfo::exists(name)) {
        qCDebug(lcTransmitter).noquote() << "no serial device" << name;
        return nullptr;
    }
#endif
    auto port = std::make_unique<DeviceSerialPort>();
    if (!port->open(name))
        return nullptr;
    return port;
}
