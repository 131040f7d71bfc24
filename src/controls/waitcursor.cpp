#include "controls/waitcursor.h"

#include <QCoreApplication>
#include <QCursor>
#include <QGuiApplication>
#include <QThread>

WaitCursor::WaitCursor(int holdMs)
    : m_holdMs(holdMs),
      m_active(qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr) {
    if (!m_active)
        return;
    QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
    // Let the cursor change reach the screen before the thread blocks; user
    // input stays queued until the work is done.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

WaitCursor::~WaitCursor() {
    if (!m_active)
        return;
    if (m_holdMs > 0)
        QThread::msleep(ulong(m_holdMs));
    QGuiApplication::restoreOverrideCursor();
}
