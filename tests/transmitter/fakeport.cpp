#include "fakeport.h"

qint64 FakePort::writeChunk(const char* data, qint64 size, int) {
    if (writeLimit == -1)
        return -1;
    const qint64 accepted = writeLimit >= 0 ? qMin(size, writeLimit) : size;
    chunks.append(QByteArray(data, accepted));
    pendingCommand.append(data, accepted);
    takeCommands();
    return accepted;
}

void FakePort::takeCommands() {
    for (qsizetype end; (end = pendingCommand.indexOf("\r\n")) >= 0;) {
        const QByteArray command = pendingCommand.left(end + 2);
        pendingCommand.remove(0, end + 2);
        commands.append(command);
        if (responder)
            incoming += responder(command);
        else if (!script.isEmpty())
            incoming += script.takeFirst();
    }
}

qint64 FakePort::readSome(char* buffer, qint64 capacity, int) {
    maxReadCapacity = qMax<int>(maxReadCapacity, int(capacity));
    if (readError)
        return -1;
    if (incoming.isEmpty())
        return 0;
    QByteArray& piece = incoming.first();
    const qint64 n = qMin<qint64>(capacity, piece.size());
    memcpy(buffer, piece.constData(), size_t(n));
    piece.remove(0, n);
    if (piece.isEmpty())
        incoming.removeFirst();
    return n;
}

void FakePort::discardInput() {
    ++discards;
    incoming.clear();
}
