#pragma once

#include <QHash>
#include <QWidget>

#include <array>
#include <memory>

#include "transmitter/transmitterrecords.h"

class QCheckBox;
class TransmitterLink;

namespace Ui {
class CDeviceSettingDlg;
}

// Decimal text as tenths, truncated toward zero: "88.1" gives 881, "87.55"
// gives 875, "-0.5" gives -5. Leading blanks are skipped and reading stops
// at the first character that does not belong to the number; text without
// digits gives 0. Values beyond the int range are clamped.
qint32 TenthsFromText(const QString& text);

// The transmitter's FM settings form with its 24 zone switches. Every
// control but the title starts disabled and stays so until the first
// refresh after a connection; the form never talks to the transmitter
// itself except through the link's ApplyFromUi.
class CDeviceSettingDlg : public QWidget {
    Q_OBJECT

public:
    explicit CDeviceSettingDlg(TransmitterLink& link, QWidget* parent = nullptr);
    ~CDeviceSettingDlg() override;

    // Fills every control from the link. With reevaluateEnabled the controls
    // are enabled for a usable link, by the transmitter's capabilities, and
    // disabled without one; otherwise they keep their state.
    void refresh(bool reevaluateEnabled);

    // The settings and mask that Apply would send now.
    TransmitterStatus settingsFromControls(int* mask) const;

public slots:
    // Sends the form through the link under the wait cursor.
    void apply();

private:
    enum class Needs { Connection, Volume, Preemphasis, Bluetooth, Partitions };

    void groupClicked(int group, bool on);
    void zoneClicked(int group, bool on);
    void enableByCapability();
    quint8 zoneMask(int group) const;

    TransmitterLink& link_;
    std::unique_ptr<Ui::CDeviceSettingDlg> ui_;
    std::array<QCheckBox*, 3> groups_{};
    std::array<std::array<QCheckBox*, 8>, 3> zones_{};
    // What each control needs to be enabled; the title and the column
    // numbers are not listed and are never touched.
    QHash<QWidget*, Needs> needs_;
};
