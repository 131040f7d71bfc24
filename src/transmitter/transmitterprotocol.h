#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>

#include "transmitter/transmitterrecords.h"

class SerialPort;

// The lines of a reply payload: each ends at the first "\r\n" or at the end
// of the payload, the pair removed. An empty line ends the list.
QList<QByteArray> PayloadLines(QByteArrayView payload);

// The queries clear their record, send their command and fill the record from
// a reply that ended with "OK\r\n". Without a port, or when the exchange
// fails, the record stays cleared; the result says whether the reply came.
bool QueryStatus(SerialPort* port, TransmitterStatus* status);
bool QueryInfo(SerialPort* port, TransmitterInfo* info);
bool QueryProduct(SerialPort* port, TransmitterProduct* product);

// Eight digits, '1' for a set bit, bit 7 first.
QByteArray FormatZoneMask(quint8 mask);
// The first eight characters, '1' setting its bit (first character bit 7);
// anything else, and any character missing from a shorter text, clears it.
quint8 ParseZoneMask(QByteArrayView text);

// The challenge handshake: true when the transmitter on the port answers the
// challenge correctly.
bool Handshake(SerialPort* port);

// Sends every field named in `mask` whose value in `settings` differs from
// `current`, in the transmitter's fixed field order, and reads each back into
// `current`. Returns the bits of the fields handled, or kSetFailed plus the
// bit of the first field whose exchange failed (later fields are not sent).
// Without a port: 0.
int ApplySettings(SerialPort* port, TransmitterStatus* current, const TransmitterStatus& settings,
                  int mask);

// "AT+DISCONNECT": the reply is read and ignored.
void SayGoodbye(SerialPort* port);
// "AT+OFF": true when the transmitter accepted it.
bool SendSwitchOff(SerialPort* port);
