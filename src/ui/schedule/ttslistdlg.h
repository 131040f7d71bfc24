#pragma once

#include <QWidget>

class DataStore;
class QPlainTextEdit;
class QPushButton;
class QTreeView;
class SpeechJob;
class SpeechSchedule;
class TodaySpeechListModel;

// The guard of every speech the operator starts (instant speech, the script
// previews, the task editor's preview): while a speech job runs it shows
// "wait_for_speaking" and answers true, and the caller starts nothing.
bool RefuseWhileSpeaking(QWidget* parent, const SpeechJob& job);

// The instant speech page: a text spoken at once on request, and today's
// speech list. The station's tick runs the speech scheduler; the page only
// shows it.
class CTTSListDlg : public QWidget {
    Q_OBJECT

public:
    CTTSListDlg(SpeechSchedule& schedule, SpeechJob& job, const DataStore& store,
                QWidget* parent = nullptr);
    ~CTTSListDlg() override;

    // Where the task's name starts in the title cell, after the voice figure
    // and the music note.
    static constexpr int kTitleIndent = 37;

    const SpeechSchedule& schedule() const { return schedule_; }
    QTreeView* list() const { return list_; }
    TodaySpeechListModel* model() const { return model_; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void importScript();
    void playNow();
    void fitTitleColumn();

    SpeechSchedule& schedule_;
    SpeechJob& job_;
    const DataStore& store_;
    TodaySpeechListModel* model_ = nullptr;
    QPlainTextEdit* text_ = nullptr;
    QPushButton* importButton_ = nullptr;
    QPushButton* playButton_ = nullptr;
    QTreeView* list_ = nullptr;
};
