#pragma once

#include <QDialog>

#include <array>
#include <memory>

class DataStore;
class QLineEdit;

namespace Ui {
class CSettingDlg;
}

// The station-wide settings: the enterprise name, the working hours of each
// weekday, the music volume under speech, the speak delay, and the idle
// minutes after which a silent transmitter is switched off. Confirm checks
// the form, saves the common settings and "IdleTime", and announces the new
// idle time; cancel changes nothing.
class CSettingDlg : public QDialog {
    Q_OBJECT

public:
    // idleTimeMs: the main window's present idle time, shown in minutes.
    CSettingDlg(DataStore& store, quint32 idleTimeMs, QWidget* parent = nullptr);
    ~CSettingDlg() override;

    // The idle time in milliseconds: as given, or as confirmed.
    quint32 idleTime() const { return idleTimeMs_; }

    // The weekday's start and end fields (Monday 0 ... Sunday 6).
    QLineEdit* startEdit(int weekday) const;
    QLineEdit* endEdit(int weekday) const;

signals:
    // Confirmed: the main window's idle switch-off takes this at once.
    void idleTimeChanged(quint32 idleTimeMs);

public slots:
    void accept() override;

private:
    // Reads an integer field's text; outside [low, high] the standard range
    // message is shown, the field gets the focus, and false is returned.
    bool readBoundedInt(const QString& text, QWidget* field, int low, int high, int* value);
    bool checkWorkingHours(std::array<int, 14>* hours);

    DataStore& store_;
    quint32 idleTimeMs_;
    std::unique_ptr<Ui::CSettingDlg> ui_;
    std::array<QLineEdit*, 7> startEdits_{};
    std::array<QLineEdit*, 7> endEdits_{};
};
