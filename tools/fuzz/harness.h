#pragma once

#include <QByteArrayView>
#include <QString>
#include <QStringList>

// Checks that take arbitrary bytes, shared by the fuzz targets and the
// regression test that replays the inputs they kept. Each runs the station's
// own code on the bytes and returns what went wrong, or an empty text. A
// crash or a sanitizer report is a failure too, caught by whoever runs them.

// The bytes as the plain text of a data file, read line by line into a store
// as a load does; what the store then saves must load back to the same.
QString CheckDataFileText(QByteArrayView input);

// The bytes as a text file: the line index agrees with reading one character
// at a time, and text written in each of the four encodings reads back.
QString CheckTextFile(QByteArrayView input);

// The bytes as a profile file, with a query in front of a NUL: reading never
// fails, and a value that was written reads back while others stay.
QString CheckProfile(QByteArrayView input);

// The bytes as the transmitter's replies, a NUL between one reply and the
// next: the link connects, queries, applies and says goodbye on them.
QString CheckTransmitterReply(QByteArrayView input);

// The bytes as the plain text given to the data tool's "pack": checked as it
// checks them, then encrypted and decrypted back. Needs the cipher library in
// the program folder.
QString CheckPackInput(QByteArrayView input);

// The checks by name, as the fuzz targets and the regression cases name them.
using FuzzCheck = QString (*)(QByteArrayView);
FuzzCheck FuzzCheckNamed(const QString& name);
QStringList FuzzCheckNames();
