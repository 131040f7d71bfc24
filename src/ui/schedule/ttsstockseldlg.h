#pragma once

#include <QDialog>

class DataStore;
class QPushButton;
class QTreeWidget;
struct SpeechScript;

// Picks one of the stored scripts: the instant speech panel, the speech task
// editor and the script editor import a script's text through it.
class CTTSStockSelDlg : public QDialog {
    Q_OBJECT

public:
    explicit CTTSStockSelDlg(const DataStore& store, QWidget* parent = nullptr);

    // The script chosen with OK; null before that or after cancel.
    SpeechScript* selectedScript() const { return chosen_; }

private:
    SpeechScript* selectedRowScript() const;
    void confirm();

    QTreeWidget* list_ = nullptr;
    QPushButton* okButton_ = nullptr;
    SpeechScript* chosen_ = nullptr;
};
