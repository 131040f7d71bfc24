#include "support/diagnostics.h"

Q_LOGGING_CATEGORY(lcSupport, "tolvane.support")
Q_LOGGING_CATEGORY(lcStore, "tolvane.store")
Q_LOGGING_CATEGORY(lcTransmitter, "tolvane.transmitter")
Q_LOGGING_CATEGORY(lcMedia, "tolvane.media")
Q_LOGGING_CATEGORY(lcUi, "tolvane.ui")
