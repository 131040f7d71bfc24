#pragma once

#include <QDialog>
#include <QStringList>

#include <memory>

#include "store/records.h"

class CPlayerWnd;
class DataStore;

namespace Ui {
class CBkMusicEditDlg;
}

// One background item of a music task: its file, volume and how often the
// rotation may play it. Opened without an item it makes new ones, and then
// several files may be given at once ('|' separates them in the file field);
// the task dialog measures and adds them.
class CBkMusicEditDlg : public QDialog {
    Q_OBJECT

public:
    static constexpr int kListedCounts = 10;

    // A new item's volume follows the store's last task.
    CBkMusicEditDlg(const DataStore& store, const CPlayerWnd& player,
                    const PlayItem* existing = nullptr, QWidget* parent = nullptr);
    ~CBkMusicEditDlg() override;

    // After confirm: path (an edited item's), volume, play count and
    // duration. Before, what the dialog opened with.
    const PlayItem& item() const { return item_; }
    // A new item's files in the order given; valid after confirm.
    QStringList chosenPaths() const { return chosenPaths_; }

public slots:
    void accept() override;

private:
    void takeFiles(const QStringList& paths);
    void refuse(const QString& key, const QString& text, QWidget* focus);

    const DataStore& store_;
    const CPlayerWnd& player_;
    std::unique_ptr<Ui::CBkMusicEditDlg> ui_;
    bool newItem_;
    PlayItem item_;
    QStringList chosenPaths_;
};
