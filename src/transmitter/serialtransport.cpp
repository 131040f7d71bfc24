#include "transmitter/serialtransport.h"

#include <cstring>

#include "transmitter/serialport.h"

namespace {

SerialError lastError = SerialError::None;

bool endsWithNoCase(const char* data, int length, const char* tail) {
    const int n = int(std::strlen(tail));
    if (length < n)
        return false;
    return qstrnicmp(data + length - n, tail, n) == 0;
}

} // namespace

SerialError SerialLastError() {
    return lastError;
}

int SerialWrite(SerialPort* port, const char* bytes, int length) {
    if (!port || !bytes) {
        lastError = SerialError::InvalidParameter;
        return -1;
    }
    if (length <= 0)
        return 0;
    for (int done = 0; done < length;) {
        const int chunk = qMin(kSerialChunkSize, length - done);
        const qint64 written = port->writeChunk(bytes + done, chunk, kSerialTimeoutMs);
        if (written < 0) {
            lastError = SerialError::Io;
            return -1;
        }
        if (written < chunk) {
            lastError = SerialError::Timeout;
            return 0;
        }
        done += chunk;
    }
    return length;
}

int SerialRead(SerialPort* port, char* buffer, int capacity) {
    if (!port || !buffer || capacity <= 0) {
        lastError = SerialError::InvalidParameter;
        return -1;
    }
    const qint64 n = port->readSome(buffer, capacity, kSerialTimeoutMs);
    if (n < 0) {
        lastError = SerialError::Io;
        return -1;
    }
    if (n == 0)
        lastError = SerialError::Timeout;
    return int(qMin<qint64>(n, capacity));
}

int ReadReply(SerialPort* port, char* buffer, ReplyStatus* status) {
    *status = ReplyStatus::Error;
    if (!port || !buffer) {
        lastError = SerialError::InvalidParameter;
        return -1;
    }
    port->clearErrors();
    std::memset(buffer, 0, kReplyBufferSize);
    int total = 0;
    while (total < kReplyBufferSize) {
        const int n = SerialRead(port, buffer + total, kReplyBufferSize - total);
        if (n < 0)
            return -1;
        if (n == 0)
            break;
        total += n;
        if (endsWithNoCase(buffer, total, "OK\r\n")) {
            *status = ReplyStatus::Ok;
            return total - 4;
        }
        // A refusal counts like the success terminator, four bytes, so that
        // "err\r\n" alone still reads as some text that came back.
        if (endsWithNoCase(buffer, total, "err\r\n"))
            return total - 4;
    }
    return total;
}

int SendCommand(SerialPort* port, const char* command, int length, char* reply) {
    if (reply)
        reply[0] = '\0';
    if (!port || !command || !reply || length == 0 || length < -1)
        return -3;
    if (length == -1)
        length = int(std::strlen(command));
    if (length == 0)
        return -3;

    // The transmitter never speaks unasked: anything waiting now is the late
    // reply to an earlier command.
    port->discardInput();
    const int written = SerialWrite(port, command, length);
    if (written < length)
        return written >= 0 ? -1 : -2;

    ReplyStatus status;
    const int n = ReadReply(port, reply, &status);
    if (status == ReplyStatus::Ok) {
        reply[n] = '\0';
        return n;
    }
    if (n > 0)
        return -5;
    return n == 0 ? -1 : -2;
}

int SendCommand(SerialPort* port, const QByteArray& command, char* reply) {
    return SendCommand(port, command.constData(), int(command.size()), reply);
}
