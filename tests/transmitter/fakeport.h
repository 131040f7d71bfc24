#pragma once

#include <QByteArray>
#include <QList>

#include <functional>

#include "transmitter/serialport.h"

// A scripted serial port. Every command written takes the next scripted reply,
// which arrives in the given pieces, one piece per read; a reply without
// pieces is silence. A responder, when set, makes the reply from the command
// instead of the script.
class FakePort : public SerialPort {
public:
    using Reply = QList<QByteArray>;
    using Responder = std::function<Reply(const QByteArray& command)>;

    void queueReply(const QByteArray& whole) { script.append(Reply{whole}); }
    void queueReply(const Reply& pieces) { script.append(pieces); }
    void queueSilence() { script.append(Reply{}); }
    void setResponder(Responder r) { responder = std::move(r); }
    // Input that arrives unasked.
    void arrive(const QByteArray& bytes) { incoming.append(bytes); }

    // Chunk writes that go out short (a stuck line) or fail outright.
    void failWrites(qint64 acceptedBytes) { writeLimit = acceptedBytes; }
    void failReads() { readError = true; }

    QList<QByteArray> chunks;   // every chunk written, as it was handed over
    QList<QByteArray> commands; // whole commands, split at "\r\n"
    int discards = 0;
    int maxReadCapacity = 0;

    qint64 writeChunk(const char* data, qint64 size, int timeoutMs) override;
    qint64 readSome(char* buffer, qint64 capacity, int timeoutMs) override;
    void clearErrors() override {}
    void discardInput() override;

private:
    void takeCommands();

    QList<Reply> script;
    Responder responder;
    QByteArray pendingCommand;
    Reply incoming;
    qint64 writeLimit = -2; // -2: no limit, -1: error, else bytes accepted per chunk
    bool readError = false;
};
