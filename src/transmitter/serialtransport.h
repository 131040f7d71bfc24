#pragma once

#include <QByteArray>

class SerialPort;

// Waits of the transport: per read and per written chunk.
constexpr int kSerialTimeoutMs = 5000;
// Commands go out in chunks of at most this many bytes.
constexpr int kSerialChunkSize = 250;
// A reply, terminator included, is collected into this many bytes.
constexpr int kReplyBufferSize = 300;

// What went wrong in the last failed transport call, in the manner of the
// platform's last error.
enum class SerialError { None, InvalidParameter, Timeout, Io };
SerialError SerialLastError();

// Writes all bytes in chunks. The length when everything went out, 0 when a
// chunk timed out or went out short, -1 on a device error or bad arguments.
int SerialWrite(SerialPort* port, const char* bytes, int length);

// Reads what arrives within the time-out: bytes read (at least 1), 0 on
// silence, -1 on a device error.
int SerialRead(SerialPort* port, char* buffer, int capacity);

enum class ReplyStatus { Ok, Error };

// Collects one reply into `buffer` (kReplyBufferSize bytes). A reply ends with
// "OK\r\n" (status Ok) or "err\r\n" (status Error), either without regard to
// case, or with silence or a full buffer (status Error). Returns the length of
// the text before the terminator, or -1 on a device error. The buffer is not
// NUL-terminated when the reply filled it.
int ReadReply(SerialPort* port, char* buffer, ReplyStatus* status);

// Sends one command and collects its reply. `length` -1 means the command's
// text up to its NUL. Returns the payload length (the payload stands
// NUL-terminated at the start of `reply`, which holds kReplyBufferSize bytes),
// or: -1 the command did not go out in time or nothing came back; -2 a device
// error; -3 no port, no command or an empty one; -5 the transmitter answered
// "err\r\n" or its reply never ended.
int SendCommand(SerialPort* port, const char* command, int length, char* reply);
int SendCommand(SerialPort* port, const QByteArray& command, char* reply);
