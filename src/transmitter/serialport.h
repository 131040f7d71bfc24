#pragma once

#include <QString>
#include <QtGlobal>

#include <memory>

// One open communication device as the serial transport sees it. The real
// port wraps QSerialPort; tests put a scripted port or a recording wrapper in
// its place.
class SerialPort {
public:
    virtual ~SerialPort() = default;

    // Hands `size` bytes to the device and waits at most `timeoutMs` for them
    // to leave. Returns how many left before the wait ran out (a pending rest
    // is cancelled), or -1 when the device reports an error.
    virtual qint64 writeChunk(const char* data, qint64 size, int timeoutMs) = 0;

    // Waits at most `timeoutMs` for input and takes what has arrived, up to
    // `capacity` bytes. Returns 0 when nothing came, -1 on a device error.
    virtual qint64 readSome(char* buffer, qint64 capacity, int timeoutMs) = 0;

    // Forgets a reported error so that the next exchange starts clean.
    virtual void clearErrors() = 0;

    // Drops input that arrived unasked (a reply that came after its wait ran
    // out), so that it is not taken for the reply to the next command.
    virtual void discardInput() = 0;
};

// The device that port number n names. On Windows "COMn"; elsewhere
// "<program folder>/ports/COMn" when that entry exists (normally a symbolic
// link, which lets an administrator map any adapter), else /dev/ttyUSB<n-1>.
QString SerialPortDeviceName(int n);

// Opens port n for reading and writing at 9600 baud and 8 data bits. Null when
// the device does not exist (without delay) or cannot be opened or configured.
std::unique_ptr<SerialPort> OpenSerialPort(int n);
