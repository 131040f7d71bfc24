#include "controls/waitcursor.h"

#include <QCoreApplication>
#include <QCursor>
#include <QGuiApplication>
#include <QThread>

WaitCursor::WaitCursor(int holdMs)
    : holdMs_(holdMs),
      active_(qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr) {
    if (!active_)
        return;
    QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
    // Let the cursor change reach the screen before the thread blocks; user
    // input stays queued until the work is done.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

WaitCursor::~WaitCursor() {
    if (!active_)
        return;
    if (holdMs_ > 0)
        QThread::msleep(ulong(holdMs_));
    QGuiApplication::restoreOverrideCursor();
}
