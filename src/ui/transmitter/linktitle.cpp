#include "ui/transmitter/linktitle.h"

#include "store/uitext.h"

QString LinkTitle(const QString& caption, TransmitterLink::LinkState state, int port,
                  const QString& product, bool locked) {
    QString title = caption;
    switch (state) {
    case TransmitterLink::LinkState::Connected:
        title += QStringLiteral(" - [%1Port%2 %3]")
                     .arg(GetUiText(QStringLiteral("connected")), QString::number(port), product);
        break;
    case TransmitterLink::LinkState::SwitchedOff:
        title += QStringLiteral(" - [%1]").arg(GetUiText(QStringLiteral("shutdown")));
        break;
    case TransmitterLink::LinkState::NotConnected:
        title += QStringLiteral(" - [%1]").arg(GetUiText(QStringLiteral("unconnect")));
        break;
    }
    if (locked)
        title += QStringLiteral(" (%1)").arg(GetUiText(QStringLiteral("locked")));
    return title;
}
