#include "ui/shell/startflashdlg.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QScreen>
#include <QTimerEvent>

#include "store/datastore.h"
#include "support/apppaths.h"

CStartFlashDlg::CStartFlashDlg(DataStore& store, const QString& picturePath, QWidget* parent)
    : QDialog(parent, Qt::SplashScreen | Qt::FramelessWindowHint), store_(store) {
    setObjectName(QStringLiteral("CStartFlashDlg"));
    picture_.load(picturePath.isEmpty() ? SplashPicturePath() : picturePath);
    if (!picture_.isNull()) {
        setFixedSize(picture_.size());
        // Centred on the screen the program starts on.
        if (const QScreen* screen = QGuiApplication::primaryScreen())
            move(screen->geometry().center() - rect().center());
    }
}

CStartFlashDlg::~CStartFlashDlg() = default;

QString CStartFlashDlg::SplashPicturePath() {
    return GetAppFolder() + QStringLiteral("/imgs/splash.bmp");
}

int CStartFlashDlg::Run(DataStore& store, QWidget* parent) {
    CStartFlashDlg splash(store, QString(), parent);
    const int result = splash.exec();
    if (!splash.storeLoaded())
        splash.loadStore();
    return result;
}

int CStartFlashDlg::exec() {
    if (picture_.isNull()) {
        // Nothing to show: load at once and close without showing anything.
        loadStore();
        setResult(0);
        return 0;
    }
    // Precise: a coarse timer may fire up to 5% early.
    timerId_ = startTimer(kShowMs, Qt::PreciseTimer);
    return QDialog::exec();
}

void CStartFlashDlg::loadStore() {
    if (loaded_)
        return;
    loaded_ = true;
    store_.LoadAll();
}

void CStartFlashDlg::timerEvent(QTimerEvent* event) {
    if (event->timerId() != timerId_) {
        QDialog::timerEvent(event);
        return;
    }
    killTimer(timerId_);
    timerId_ = 0;
    loadStore();
    done(1);
}

void CStartFlashDlg::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.drawImage(rect(), picture_);
}

void CStartFlashDlg::keyPressEvent(QKeyEvent* event) {
    // Escape would end the splash before the store is loaded.
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void CStartFlashDlg::closeEvent(QCloseEvent* event) {
    // Only the timer ends the splash.
    if (!loaded_) {
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}
