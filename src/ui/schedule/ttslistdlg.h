#pragma once

#include <QWidget>

#include "speechschedule.h"

class DataStore;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class QTimer;
class QTreeWidget;
class SpeechJob;

// The guard of every speech the operator starts (instant speech, the script
// previews, the task editor's preview): while a speech job runs it shows
// "wait_for_speaking" and answers true, and the caller starts nothing.
bool RefuseWhileSpeaking(QWidget* parent, const SpeechJob& job);

// The instant speech page: a text spoken at once on request, and today's
// speech list. Its one-second timer runs the speech scheduler.
class CTTSListDlg : public QWidget, public SpeechScheduleView {
    Q_OBJECT

public:
    CTTSListDlg(SpeechSchedule& schedule, SpeechJob& job, const DataStore& store,
                QWidget* parent = nullptr);
    ~CTTSListDlg() override;

    // Where the task's name starts in the title cell, after the voice figure
    // and the music note.
    static constexpr int kTitleIndent = 37;

    const SpeechSchedule& schedule() const { return schedule_; }
    QTreeWidget* list() const { return list_; }

    void speechListRebuilt() override;
    void speechEntryChanged(int index) override;
    void speechEntryStarted(int index) override;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void importScript();
    void playNow();
    void fitTitleColumn();

    SpeechSchedule& schedule_;
    SpeechJob& job_;
    const DataStore& store_;
    QPlainTextEdit* text_ = nullptr;
    QPushButton* importButton_ = nullptr;
    QPushButton* playButton_ = nullptr;
    QTreeWidget* list_ = nullptr;
    QTimer* timer_ = nullptr;
};
