#pragma once

// A station in a temporary program folder, on the fake clock, the fake media
// player and the fake voice: the texts, the skins and the cipher library are
// copied in, the data store is empty (LoadAll gives the built-in "Admin").
// Helpers answer the login window the way a person would, through its boxes.

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QPointer>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <functional>
#include <memory>

#include "app/ardwellapp.h"
#include "app/ardwelldlg.h"
#include "app/languageresources.h"
#include "controls/messagebox.h"
#include "fakeclock.h"
#include "fakemedia.h"
#include "simulatorprocess.h"
#include "station/station.h"
#include "store/uitext.h"
#include "support/apppaths.h"
#include "support/eventlog.h"
#include "ui/users/userlogindlg.h"

inline constexpr char kAdminPassword[] = "740286";

// Copies what a program folder holds beside the program itself.
inline bool FillProgramFolder(const QString& folder) {
    QDir dir(folder);
    bool ok = dir.mkpath(QStringLiteral("log")) && dir.mkpath(QStringLiteral("data")) &&
              dir.mkpath(QStringLiteral("imgs"));
    const QString resources = QStringLiteral(TOLVANE_SOURCE_DIR "/resources/");
    for (const char* name : {"string_chs.conf", "string_eng.conf", "app.conf"})
        ok = QFile::copy(resources + QLatin1String(name), dir.filePath(QLatin1String(name))) && ok;
    const QDir imgs(resources + QStringLiteral("imgs"));
    for (const QString& name : imgs.entryList({QStringLiteral("*.bmp")}, QDir::Files))
        ok = QFile::copy(imgs.filePath(name), dir.filePath(QStringLiteral("imgs/") + name)) && ok;
    const QString crypt = QStringLiteral(TOLVANE_BIN_DIR "/libKryptane.so");
    ok = QFile::copy(crypt, dir.filePath(QStringLiteral("libKryptane.so"))) && ok;
    // The copies are read-only when the sources are; the program writes
    // app.conf.
    for (const QString& name : dir.entryList(QDir::Files))
        QFile(dir.filePath(name))
            .setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    return ok;
}

struct StationRig {
    explicit StationRig(const QDateTime& start = QDateTime(QDate(2026, 3, 2), QTime(12, 0)))
        : clock(start) {
        ready = folder.isValid() && FillProgramFolder(folder.path());
        SetAppFolderForTests(folder.path());
        SetEventLogClock(&clock);
        // The single-instance guard lives in the temporary folder: this
        // test's own, so that a station running on the machine is left alone.
        qputenv("TMPDIR", folder.path().toLocal8Bit());
        SetUiLanguage(0);
        MessageBox::clearShown();
        // Boxes nobody expects are answered with OK instead of waiting.
        MessageBox::setDefaultAnswer(QMessageBox::Ok);

        StationBackends backends;
        backends.media = media.factory();
        backends.voice = [this]() -> std::unique_ptr<TtsBackend> {
            auto tts = std::make_unique<FakeTtsBackend>();
            voice = tts.get();
            return tts;
        };
        app = std::make_unique<CArdwellApp>(clock, std::move(backends));
        app->tickCount = [this] { return ticks; };
        app->showSplash = [this](DataStore& store) {
            ++splashes;
            store.LoadAll();
        };
    }

    ~StationRig() {
        window.reset();
        station.reset();
        app.reset();
        MessageBox::clearShown();
        SetEventLogClock(nullptr);
        SetAppFolderForTests(QString());
        SetUiLanguage(0);
        UseLanguageResources(0);
    }

    // A station and its main window as one pass of the main loop makes them,
    // after the data was loaded; with `user`, somebody is logged in already.
    CArdwellDlg& openWindow(const QString& user = QString(), int role = 1) {
        if (!loaded) {
            app->store().LoadAll();
            loaded = true;
        }
        app->state().currentUser = user;
        app->state().currentRole = role;
        // As at the start of every pass of the main loop.
        app->state().screenLocked = false;
        app->state().workingNow = false;
        // One window at a time, as the passes of the main loop have it.
        window.reset();
        station = app->makeStation();
        station->start();
        window = std::make_unique<CArdwellDlg>(*app, *station);
        return *window;
    }

    QString logText() const {
        QString text;
        for (const QString& name :
             QDir(folder.filePath(QStringLiteral("log"))).entryList(QDir::Files)) {
            QFile file(folder.filePath(QStringLiteral("log/") + name));
            if (file.open(QIODevice::ReadOnly))
                text += QString::fromUtf8(file.readAll());
        }
        return text;
    }

    QTemporaryDir folder;
    bool ready = false;
    bool loaded = false;
    FakeClock clock;
    FakeMediaSource media;
    FakeTtsBackend* voice = nullptr;
    qint64 ticks = 1;
    int splashes = 0;
    std::unique_ptr<CArdwellApp> app;
    std::unique_ptr<Station> station;
    std::unique_ptr<CArdwellDlg> window;
};

// Answers every login window that comes up, as a person at the keyboard
// would: `answer` gets the window and fills or cancels it. Counts them.
class LoginAnswerer : public QObject {
public:
    using Answer = std::function<void(CUserLoginDlg&)>;

    explicit LoginAnswerer(Answer answer) : answer_(std::move(answer)) {
        timer_.setInterval(20);
        QObject::connect(&timer_, &QTimer::timeout, this, [this] { poll(); });
        timer_.start();
    }

    // Types the password and presses Enter.
    static Answer typePassword(const QString& password) {
        return [password](CUserLoginDlg& dlg) {
            auto* box = dlg.findChild<QLineEdit*>(QStringLiteral("password"));
            box->setText(password);
            QTest::keyClick(&dlg, Qt::Key_Return);
        };
    }
    static Answer cancel() {
        return [](CUserLoginDlg& dlg) { QTest::keyClick(&dlg, Qt::Key_Escape); };
    }

    int answered = 0;
    QStringList titles;

private:
    void poll() {
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            auto* dlg = qobject_cast<CUserLoginDlg*>(widget);
            if (!dlg || !dlg->isVisible() || handled_.contains(dlg))
                continue;
            handled_ << dlg;
            ++answered;
            titles << dlg->windowTitle();
            // The window may stay up for another attempt; it is answered
            // once, and closed with Escape if it is still there.
            answer_(*dlg);
            if (dlg && dlg->isVisible())
                QTest::keyClick(dlg, Qt::Key_Escape);
        }
    }

    Answer answer_;
    QTimer timer_;
    QList<QPointer<CUserLoginDlg>> handled_;
};

// Runs `condition` through the event loop until it holds or `ms` passed.
inline bool WaitFor(const std::function<bool()>& condition, int ms) {
    QElapsedTimer timer;
    timer.start();
    while (!condition()) {
        if (timer.elapsed() > ms)
            return false;
        QTest::qWait(10);
    }
    return true;
}
