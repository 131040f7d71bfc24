#pragma once

#include <QDialog>
#include <QStringList>

#include <memory>

class DataStore;
struct AppState;

namespace Ui {
class CSpeakBkMusicEditDlg;
}

// One entry of the speech background music: its file and volume. Opened with
// an empty file it makes new entries, and then several files may be chosen at
// once ('|' separates them in the file field). Confirm is for administrators
// only; an existing entry's file must exist, new ones are checked by the list.
class CSpeakBkMusicEditDlg : public QDialog {
    Q_OBJECT

public:
    // An empty fileText opens a new entry, whose volume starts as the last
    // entry's (0 while the list is empty; `volume` is then ignored).
    CSpeakBkMusicEditDlg(const DataStore& store, const AppState& state,
                         const QString& fileText = QString(), int volume = 0,
                         QWidget* parent = nullptr);
    ~CSpeakBkMusicEditDlg() override;

    bool isNewEntry() const { return newEntry_; }
    QString fileText() const;
    // Valid after confirm.
    int volume() const { return volume_; }
    // A new entry's files, in the order given; valid after confirm.
    QStringList chosenPaths() const { return chosenPaths_; }

public slots:
    void accept() override;

private:
    void browse();
    void chooseFromLibrary();
    // Puts chosen files into the file field: all of them for a new entry,
    // the first otherwise. A path the data file cannot hold is refused.
    void takeFiles(const QStringList& paths);
    bool refuse(const QString& key, const QString& text, QWidget* focus);

    const DataStore& store_;
    const AppState& state_;
    std::unique_ptr<Ui::CSpeakBkMusicEditDlg> ui_;
    bool newEntry_ = false;
    int volume_ = 0;
    QStringList chosenPaths_;
};
