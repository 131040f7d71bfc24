#include "app/ardwellapp.h"

#include <QApplication>
#include <QDir>
#include <QIcon>
#include <QLockFile>

#include "app/ardwelldlg.h"
#include "app/languageresources.h"
#include "controls/messagebox.h"
#include "media/ttsbackend.h"
#include "station/station.h"
#include "store/uitext.h"
#include "support/apppaths.h"
#include "support/eventlog.h"
#include "support/stringutils.h"
#include "support/uiformat.h"
#include "ui/shell/startflashdlg.h"

CArdwellApp::CArdwellApp(const Clock& clock, StationBackends backends)
    : clock_(clock), backends_(std::move(backends)), store_(clock), link_(GetUiText) {}

CArdwellApp::~CArdwellApp() = default;

std::unique_ptr<Station> CArdwellApp::makeStation() {
    auto station =
        std::make_unique<Station>(store_, state_, clock_, link_, backends_.media,
                                  backends_.voice ? backends_.voice() : nullptr, tickCount);
    station->setIdleTime(TextToInt(ReadConfig(QStringLiteral("IdleTime"))));
    return station;
}

bool CArdwellApp::acquireInstance() {
    auto lock = std::make_unique<QLockFile>(
        QDir(QDir::tempPath()).filePath(QString::fromLatin1(kInstanceName)));
    // Only a live copy counts: the lock of a crashed one is taken over at
    // once, and a long-running copy is never taken for a crashed one.
    lock->setStaleLockTime(0);
    if (!lock->tryLock(0))
        return false;
    instance_ = std::move(lock);
    return true;
}

int CArdwellApp::Run() {
    if (!acquireInstance()) {
        // Told in the language the running copy uses, the box's buttons too.
        useLanguage(TextToInt(ReadConfig(QStringLiteral("LangId"))));
        MessageBox::showNotice(nullptr, QStringLiteral("app_already_startup"),
                               GetUiText(QStringLiteral("app_already_startup")));
        return 1;
    }

    // The windows end and reopen on their own; closing the last one must
    // not end the process's event handling between two passes.
    QApplication::setQuitOnLastWindowClosed(false);
    SetResourceModule(QStringLiteral(":/"));
    QApplication::setWindowIcon(QIcon(OwnPicturePath(QStringLiteral("icon.png"))));

    state_.currentUser.clear();
    state_.currentRole = 0;
    for (bool firstPass = true;; firstPass = false) {
        state_.reopenRequested = false;
        state_.langId = TextToInt(ReadConfig(QStringLiteral("LangId")));
        useLanguage(state_.langId);
        store_.langIdForSave = state_.langId;
        state_.screenLocked = false;
        state_.workingNow = false;

        if (firstPass) {
            runSplash();
            warnIfDataUnwritable();
        }

        {
            const std::unique_ptr<Station> station = makeStation();
            station->start();
            CArdwellDlg window(*this, *station);
            mainWindow_ = &window;
            ++passes_;
            if (onMainWindow)
                onMainWindow(window);
            window.RunModal();
            mainWindow_ = nullptr;
        }
        if (!state_.reopenRequested)
            break;
    }

    WriteConfig(QStringLiteral("LoginUser"), state_.currentUser);
    store_.ClearAll();
    instance_.reset();
    return 0;
}

void CArdwellApp::runSplash() {
    if (showSplash)
        showSplash(store_);
    else
        CStartFlashDlg::Run(store_);
}

void CArdwellApp::useLanguage(int langId) {
    SetUiLanguage(langId);
    // The resources carry the texts of Qt's standard buttons as well.
    UseLanguageResources(langId);
}

void CArdwellApp::warnIfDataUnwritable() {
    // Every save would fail quietly later on; say it once, now, while
    // nothing has been entered yet.
    QString blocking;
    if (store_.CanWriteDataFiles(&blocking))
        return;
    blocking = QDir::toNativeSeparators(blocking);
    LogEvent(QStringLiteral("Data folder cannot be written: ") + blocking);
    const QString key = QStringLiteral("fmt_data_folder_unwritable");
    MessageBox::showNotice(nullptr, key, FormatUiText(GetUiText(key), blocking));
}

bool CArdwellApp::RequestReopen(int langId, QWidget* parent) {
    if (langId == state_.langId)
        return true;
    const int answer = MessageBox::show(
        parent, QStringLiteral("ask_reopen_dlg"), GetUiText(QStringLiteral("ask_reopen_dlg")),
        MessageBox::Icon::Warning, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    if (answer != QMessageBox::Yes)
        return false;
    state_.langId = langId;
    WriteConfig(QStringLiteral("LangId"), QString::number(uint(langId)));
    state_.reopenRequested = true;
    return true;
}
