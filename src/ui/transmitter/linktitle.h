#pragma once

#include <QString>

#include "transmitter/transmitterlink.h"

// The main window's title: its caption, the link's state and whether the
// window is locked, e.g. "Ardwell V1.1.2 - [connectedPort4 FM-30] (locked)".
// The product text is shown as it is, never used as a format.
QString LinkTitle(const QString& caption, TransmitterLink::LinkState state, int port,
                  const QString& product, bool locked);
