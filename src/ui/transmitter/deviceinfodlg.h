#pragma once

#include <QWidget>

#include <memory>

class TransmitterLink;

namespace Ui {
class CDeviceInfoDlg;
}

// The transmitter's status, laid out like its front panel: model line,
// frequency, power, reflected power, volume, pre-emphasis, temperature and
// the two inputs. It only shows what the link last read, and shows it anew
// whenever the link says that its records or its state changed.
class CDeviceInfoDlg : public QWidget {
    Q_OBJECT

public:
    explicit CDeviceInfoDlg(const TransmitterLink& link, QWidget* parent = nullptr);
    ~CDeviceInfoDlg() override;

    // Rewrites every field from the link: its values while the link is
    // usable, the zero texts otherwise; and recolours the texts.
    void refresh();

    // The text colours: white for a usable link and a field the transmitter
    // has, grey otherwise.
    static QColor activeTextColor();
    static QColor inactiveTextColor();

private:
    void setColor(QWidget* widget, bool active);

    const TransmitterLink& link_;
    std::unique_ptr<Ui::CDeviceInfoDlg> ui_;
};
