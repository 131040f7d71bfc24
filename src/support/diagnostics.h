#pragma once

// Developer diagnostics, one category per layer. They carry what the
// operator is never shown (a save that failed, a library that would not
// load, an error of the speech engine); the operator's record is the event
// log. Turn them on with QT_LOGGING_RULES, e.g. "tolvane.*.debug=true".

#include <QLoggingCategory>

Q_DECLARE_LOGGING_CATEGORY(lcSupport)     // tolvane.support
Q_DECLARE_LOGGING_CATEGORY(lcStore)       // tolvane.store
Q_DECLARE_LOGGING_CATEGORY(lcTransmitter) // tolvane.transmitter
Q_DECLARE_LOGGING_CATEGORY(lcMedia)       // tolvane.media
Q_DECLARE_LOGGING_CATEGORY(lcUi)          // tolvane.ui
