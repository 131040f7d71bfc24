#include "ui/transmitter/devicesettingdlg.h"

#include "ui_devicesettingdlg.h"

#include <QLocale>

#include <limits>

#include "controls/waitcursor.h"
#include "transmitter/transmitterlink.h"

qint32 TenthsFromText(const QString& text) {
    int i = 0;
    const int n = int(text.size());
    while (i < n && text[i].isSpace())
        ++i;
    bool negative = false;
    if (i < n && (text[i] == u'-' || text[i] == u'+')) {
        negative = text[i] == u'-';
        ++i;
    }
    constexpr qint64 kLimit = qint64(std::numeric_limits<qint32>::max()) + 1;
    qint64 tenths = 0;
    bool digits = false;
    for (; i < n && text[i] >= u'0' && text[i] <= u'9'; ++i) {
        digits = true;
        tenths = qMin(kLimit, tenths * 10 + (text[i].unicode() - u'0') * 10);
    }
    if (i < n && text[i] == u'.' && i + 1 < n && text[i + 1] >= u'0' && text[i + 1] <= u'9') {
        digits = true;
        tenths = qMin(kLimit, tenths + (text[i + 1].unicode() - u'0'));
    }
    if (!digits)
        return 0;
    if (negative)
        return qint32(qMax(qint64(std::numeric_limits<qint32>::min()), -tenths));
    return qint32(qMin(qint64(std::numeric_limits<qint32>::max()), tenths));
}

CDeviceSettingDlg::CDeviceSettingDlg(TransmitterLink& link, QWidget* parent)
    : QWidget(parent), link_(link), ui_(std::make_unique<Ui::CDeviceSettingDlg>()) {
    ui_->setupUi(this);
    // The transmitter's values are written with a decimal point whatever the
    // desktop's language.
    ui_->freqEdit->setLocale(QLocale::c());
    QFont titleFont = ui_->titleLabel->font();
    titleFont.setBold(true);
    ui_->titleLabel->setFont(titleFont);

    groups_ = {ui_->group1Check, ui_->group2Check, ui_->group3Check};
    for (int g = 0; g < 3; ++g) {
        for (int z = 0; z < 8; ++z) {
            QCheckBox* box =
                findChild<QCheckBox*>(QStringLiteral("zone%1Check").arg(g * 8 + z + 1));
            Q_ASSERT(box);
            // The column number above is all a zone shows; its name says which.
            box->setAccessibleName(tr("分区%1").arg(QString::number(g * 8 + z + 1)));
            zones_[size_t(g)][size_t(z)] = box;
            connect(box, &QCheckBox::clicked, this, [this, g](bool on) { zoneClicked(g, on); });
            needs_.insert(box, Needs::Partitions);
        }
        connect(groups_[size_t(g)], &QCheckBox::clicked, this,
                [this, g](bool on) { groupClicked(g, on); });
        needs_.insert(groups_[size_t(g)], Needs::Partitions);
    }
    needs_.insert(ui_->zonesLabel, Needs::Partitions);
    needs_.insert(ui_->volumeLabel, Needs::Volume);
    needs_.insert(ui_->volumeEdit, Needs::Volume);
    needs_.insert(ui_->volumeRangeLabel, Needs::Volume);
    needs_.insert(ui_->preemphasisLabel, Needs::Preemphasis);
    needs_.insert(ui_->preemphasisBox, Needs::Preemphasis);
    needs_.insert(ui_->bluetoothLabel, Needs::Bluetooth);
    needs_.insert(ui_->bluetoothBox, Needs::Bluetooth);
    const QList<QWidget*> always = {ui_->freqLabel,      ui_->freqEdit,    ui_->freqUnitLabel,
                                    ui_->powerLabel,     ui_->powerEdit,   ui_->powerLevelBox,
                                    ui_->powerUnitLabel, ui_->stereoLabel, ui_->stereoBox,
                                    ui_->rdsIdLabel,     ui_->rdsIdEdit,   ui_->applyButton};
    for (QWidget* w : always)
        needs_.insert(w, Needs::Connection);

    // Nothing can be changed before a transmitter has been read; the column
    // numbers stay greyed for good.
    for (QWidget* w : findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        w->setEnabled(w == ui_->titleLabel);
    ui_->powerLevelBox->hide();

    connect(ui_->applyButton, &QPushButton::clicked, this, &CDeviceSettingDlg::apply);
    // A new state enables the controls by what the transmitter can do; read
    // back settings leave them as they are.
    connect(&link_, &TransmitterLink::stateChanged, this, [this] { refresh(true); });
    connect(&link_, &TransmitterLink::settingsApplied, this, [this] { refresh(false); });
    // A window reopened for another language finds the link as the last one
    // left it.
    if (link_.hasPort())
        refresh(true);
}

CDeviceSettingDlg::~CDeviceSettingDlg() = default;

void CDeviceSettingDlg::enableByCapability() {
    const bool connected = link_.IsConnected();
    const TransmitterInfo& info = link_.info();
    for (auto it = needs_.cbegin(); it != needs_.cend(); ++it) {
        bool enable = connected;
        switch (it.value()) {
        case Needs::Connection:
            break;
        case Needs::Volume:
            enable = enable && info.volumeControl;
            break;
        case Needs::Preemphasis:
            enable = enable && info.preemphasisSupport;
            break;
        case Needs::Bluetooth:
            enable = enable && info.btSupport;
            break;
        case Needs::Partitions:
            enable = enable && info.partitionSupport;
            break;
        }
        it.key()->setEnabled(enable);
    }
}

void CDeviceSettingDlg::refresh(bool reevaluateEnabled) {
    if (reevaluateEnabled)
        enableByCapability();

    const TransmitterStatus& status = link_.status();
    const TransmitterInfo& info = link_.info();

    ui_->powerLevelBox->clear();
    const int levels = qBound(0, info.powerLevelCount, kMaxPowerLevels);
    if (levels > 0) {
        int selected = -1; // a power the list does not hold leaves nothing selected
        for (int i = 0; i < levels; ++i) {
            const qint32 level = info.powerLevels[size_t(i)];
            ui_->powerLevelBox->addItem(FormatTenths(level) + QStringLiteral("W"), level);
            if (selected < 0 && level == status.power)
                selected = i;
        }
        ui_->powerLevelBox->setCurrentIndex(selected);
        ui_->powerLevelBox->show();
        ui_->powerEdit->hide();
    } else {
        ui_->powerLevelBox->hide();
        ui_->powerEdit->show();
    }
    // The label names whichever of the two is shown.
    ui_->powerLabel->setBuddy(levels > 0 ? static_cast<QWidget*>(ui_->powerLevelBox)
                                         : ui_->powerEdit);

    ui_->freqEdit->setValue(status.frequency / 10.0);
    ui_->powerEdit->setText(FormatTenths(status.power));
    ui_->volumeEdit->setValue(int(qBound(0, status.volume, ui_->volumeEdit->maximum())));

    ui_->stereoBox->setCurrentIndex(status.stereo != 0 ? 0 : 1);
    ui_->preemphasisBox->setCurrentIndex(status.preemphasis == 50 ? 0 : 1);
    ui_->bluetoothBox->setCurrentIndex(status.bluetooth != 0 ? 0 : 1);

    ui_->rdsIdEdit->setText(QStringLiteral("%1").arg(uint(status.rdsId), 4, 16, QLatin1Char('0')));

    const std::array<quint8, 3> masks = {status.partitionA, status.partitionB, status.partitionC};
    for (int g = 0; g < 3; ++g) {
        const quint8 mask = masks[size_t(g)];
        for (int z = 0; z < 8; ++z)
            zones_[size_t(g)][size_t(z)]->setChecked(mask & (0x80 >> z));
        groups_[size_t(g)]->setChecked(mask == 0xFF);
    }
}

void CDeviceSettingDlg::groupClicked(int group, bool on) {
    for (QCheckBox* zone : zones_[size_t(group)])
        zone->setChecked(on);
}

void CDeviceSettingDlg::zoneClicked(int group, bool on) {
    // A group box on means "the whole group"; one zone off breaks that.
    if (!on)
        groups_[size_t(group)]->setChecked(false);
}

quint8 CDeviceSettingDlg::zoneMask(int group) const {
    quint8 mask = 0;
    for (int z = 0; z < 8; ++z)
        if (zones_[size_t(group)][size_t(z)]->isChecked())
            mask |= quint8(0x80 >> z);
    return mask;
}

TransmitterStatus CDeviceSettingDlg::settingsFromControls(int* mask) const {
    const TransmitterInfo& info = link_.info();
    TransmitterStatus settings;
    settings.frequency = TenthsFromText(ui_->freqEdit->cleanText());
    const int levels = qBound(0, info.powerLevelCount, kMaxPowerLevels);
    if (levels > 0) {
        const int selected = ui_->powerLevelBox->currentIndex();
        settings.power =
            info.powerLevels[size_t(selected >= 0 && selected < levels ? selected : 0)];
    } else {
        settings.power = TenthsFromText(ui_->powerEdit->text());
    }
    int bits = kSetFrequency | kSetPower;

    if (info.volumeControl) {
        settings.volume = ui_->volumeEdit->value();
        bits |= kSetVolume;
    }
    settings.stereo = ui_->stereoBox->currentIndex() == 0 ? 1 : 0;
    bits |= kSetStereo;
    if (info.preemphasisSupport) {
        settings.preemphasis = ui_->preemphasisBox->currentIndex() == 0 ? 50 : 75;
        bits |= kSetPreemphasis;
    }
    if (info.btSupport) {
        settings.bluetooth = ui_->bluetoothBox->currentIndex() == 0 ? 1 : 0;
        bits |= kSetBluetooth;
    }
    // The mask's blanks show as '0', so the shown text is the identifier.
    settings.rdsId = quint16(ui_->rdsIdEdit->displayText().toUInt(nullptr, 16));
    bits |= kSetRdsId;
    if (info.partitionSupport) {
        settings.partitionA = zoneMask(0);
        settings.partitionB = zoneMask(1);
        settings.partitionC = zoneMask(2);
        bits |= kSetPartitions;
    }
    if (mask)
        *mask = bits;
    return settings;
}

void CDeviceSettingDlg::apply() {
    int mask = 0;
    const TransmitterStatus settings = settingsFromControls(&mask);
    WaitCursor wait;
    link_.ApplyFromUi(settings, mask);
}
