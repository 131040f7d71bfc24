#pragma once

#include <QDialog>
#include <QList>
#include <QStringList>

#include <array>
#include <memory>

#include "store/records.h"

class CPlayerWnd;
class DataStore;
class QLineEdit;

namespace Ui {
class CMusicEditDlg;
}

// What the two music item dialogs share.

// Asks for music files, from the file dialog or from the library, one or
// several. Paths the data files cannot hold are refused, each named in its
// own box; the others are returned in the order chosen.
QStringList ChooseMusicFiles(QWidget* parent, const DataStore& store, bool several,
                             bool fromLibrary);
// The lengths of the files, in order. A long list is measured under a
// cancellable progress dialog that keeps the window alive; when the operator
// cancels, only the files measured so far are in the result.
QList<HhmmssDuration> MeasureMusicLengths(QWidget* parent, const CPlayerWnd& player,
                                          const QStringList& paths);
// Checks an item dialog's file field: a path given, every path one the data
// files can hold, an existing item's file still there. A refusal is shown
// on the field and answers false; otherwise `paths` holds the field's paths
// (several, '|' between them, for a new item).
bool CheckMusicFileField(QWidget* dialog, QLineEdit* field, bool newItem, QStringList* paths);
// Durations added up on the clock from 00:00:00.
HhmmssDuration AddDurations(HhmmssDuration a, HhmmssDuration b);

// One insert-play item of a music task: its file, volume and when it plays,
// either repeatedly inside a time range or at up to ten time points, all
// inside the task's daily window. Opened without an item it makes new ones,
// and then several files may be given at once ('|' separates them in the
// file field); the task dialog measures and adds them.
class CMusicEditDlg : public QDialog {
    Q_OBJECT

public:
    static constexpr int kMaxInterval = 600;
    static constexpr int kDefaultInterval = 10;

    // The window is the task's daily window (swapped when it runs
    // backwards); a new item's volume follows the store's last task.
    CMusicEditDlg(const DataStore& store, const CPlayerWnd& player, HhmmTime windowStart,
                  HhmmTime windowEnd, const PlayItem* existing = nullptr,
                  QWidget* parent = nullptr);
    ~CMusicEditDlg() override;

    // After confirm: path (an edited item's), volume, time mode, range,
    // interval, time points and duration. Before, what the dialog opened
    // with.
    const PlayItem& item() const { return item_; }
    // A new item's files in the order given; valid after confirm.
    QStringList chosenPaths() const { return chosenPaths_; }
    QLineEdit* timePointEdit(int index) const { return pointEdits_[size_t(index)]; }

public slots:
    void accept() override;

private:
    void buildTimePoints();
    void applyMode(bool focus);
    void takeFiles(const QStringList& paths);
    void computeLength();
    bool refuse(const QString& key, const QString& text, QWidget* focus);

    const DataStore& store_;
    const CPlayerWnd& player_;
    std::unique_ptr<Ui::CMusicEditDlg> ui_;
    HhmmTime windowStart_;
    HhmmTime windowEnd_;
    bool newItem_;
    PlayItem item_;
    QStringList chosenPaths_;
    std::array<QLineEdit*, kTimePointSlots> pointEdits_{};
};
