#include "ui/transmitter/deviceinfodlg.h"

#include "ui_deviceinfodlg.h"

#include <QPalette>

#include "transmitter/transmitterlink.h"

namespace {

// The panel's own colour, the same teal as the main window around it.
const QColor kPanelColor(0, 187, 199);

// The dialog font made bold and one step larger, so that the values read
// like the lit digits of the front panel.
QFont panelFont(QFont font) {
    font.setWeight(QFont::Bold);
    if (font.pixelSize() > 0)
        font.setPixelSize(font.pixelSize() + 1);
    else if (font.pointSizeF() > 0)
        font.setPointSizeF(font.pointSizeF() + 1);
    return font;
}

} // namespace

CDeviceInfoDlg::CDeviceInfoDlg(const TransmitterLink& link, QWidget* parent)
    : QWidget(parent), link_(link), ui_(std::make_unique<Ui::CDeviceInfoDlg>()) {
    ui_->setupUi(this);
    setFont(panelFont(font()));

    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, kPanelColor);
    setPalette(pal);
    // Labels are drawn over the panel's colour, without a background of
    // their own.
    for (QLabel* label : findChildren<QLabel*>())
        label->setAutoFillBackground(false);

    connect(&link_, &TransmitterLink::stateChanged, this, &CDeviceInfoDlg::refresh);
    connect(&link_, &TransmitterLink::settingsApplied, this, &CDeviceInfoDlg::refresh);
    refresh();
}

CDeviceInfoDlg::~CDeviceInfoDlg() = default;

QColor CDeviceInfoDlg::activeTextColor() {
    return QColor(255, 255, 255);
}

QColor CDeviceInfoDlg::inactiveTextColor() {
    return QColor(180, 180, 180);
}

void CDeviceInfoDlg::setColor(QWidget* widget, bool active) {
    QPalette pal = widget->palette();
    pal.setColor(QPalette::WindowText, active ? activeTextColor() : inactiveTextColor());
    widget->setPalette(pal);
}

void CDeviceInfoDlg::refresh() {
    const bool connected = link_.IsConnected();
    const TransmitterStatus& status = link_.status();
    const TransmitterInfo& info = link_.info();

    if (connected) {
        const QString load =
            status.stereo != 0 ? QStringLiteral("LOAD") : QStringLiteral("NO LOAD");
        ui_->modelLine->setText(QStringLiteral("Ver:  ") + link_.product().productInfo);
        ui_->tempValue->setText(FormatTenths(status.temperature) + QStringLiteral(" ℃"));
        ui_->freqValue->setText(FormatTenths(status.frequency) + QStringLiteral(" Mhz"));
        ui_->fwdValue->setText(FormatTenths(status.power) + QStringLiteral(" Watt"));
        ui_->refValue->setText(FormatTenths(status.reflectedPower) + QStringLiteral(" Watt"));
        ui_->volValue->setText(QString::number(quint32(status.volume)));
        ui_->prValue->setText(QStringLiteral("%1Us").arg(status.preemphasis));
        ui_->linValue->setText(load);
        ui_->rinValue->setText(load);
    } else {
        ui_->modelLine->setText(QStringLiteral("OFF"));
        ui_->tempValue->setText(QStringLiteral("0.0 ℃"));
        ui_->freqValue->setText(QStringLiteral("000.0 Mhz"));
        ui_->fwdValue->setText(QStringLiteral("000.0 Watt"));
        ui_->refValue->setText(QStringLiteral("000.0 Watt"));
        ui_->volValue->setText(QStringLiteral("0"));
        ui_->prValue->setText(QStringLiteral("0Us"));
        ui_->linValue->setText(QStringLiteral("NO LOAD"));
        ui_->rinValue->setText(QStringLiteral("NO LOAD"));
    }

    // Everything is lit while the link is usable, except the fields the
    // transmitter cannot report.
    const QList<QWidget*> lines = {ui_->panelFrame, ui_->topSeparator, ui_->bottomSeparator};
    for (QWidget* line : lines)
        setColor(line, connected);
    for (QLabel* label : findChildren<QLabel*>())
        setColor(label, connected);
    if (connected) {
        setColor(ui_->volLabel, info.volumeControl);
        setColor(ui_->volValue, info.volumeControl);
        setColor(ui_->refLabel, info.powerMeasure);
        setColor(ui_->refValue, info.powerMeasure);
        setColor(ui_->prLabel, info.preemphasisSupport);
        setColor(ui_->prValue, info.preemphasisSupport);
        setColor(ui_->tempLabel, info.tempSupport);
        setColor(ui_->tempValue, info.tempSupport);
    }
}
