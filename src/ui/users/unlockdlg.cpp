#include "ui/users/unlockdlg.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPushButton>

#include "controls/fonts.h"
#include "controls/skin.h"
#include "controls/waitcursor.h"
#include "store/appstate.h"
#include "support/apppaths.h"
#include "ui/users/userlogin.h"

namespace {

constexpr int kWidth = 380;
constexpr int kHeight = 150;
constexpr int kHoldMs = 100;
const QRect kPadlockRect(22, 24, 56, 56);

} // namespace

CUnlockDlg::CUnlockDlg(AppState& state, DataStore& store, std::function<void()> onUnlocked,
                       QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint), state_(state), store_(store),
      onUnlocked_(std::move(onUnlocked)) {
    setObjectName(QStringLiteral("CUnlockDlg"));
    setWindowTitle(tr("程序已锁定"));
    setFixedSize(kWidth, kHeight);

    auto* text = new QLabel(tr("程序已锁定，点击下面的按钮解锁！"), this);
    text->setObjectName(QStringLiteral("lockText"));
    text->setGeometry(96, 24, kWidth - 96 - 18, 56);
    text->setWordWrap(true);
    text->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    QFont font = BoldFont();
    font.setPointSizeF(font.pointSizeF() > 0 ? font.pointSizeF() * 1.15 : 11);
    text->setFont(font);
    QPalette red = text->palette();
    red.setColor(QPalette::WindowText, QColor(255, 0, 0));
    text->setPalette(red);

    auto* unlock = new QPushButton(tr("解锁"), this);
    unlock->setObjectName(QStringLiteral("unlockButton"));
    unlock->setGeometry((kWidth - 96) / 2, 100, 96, 28);
    // Enter must not unlock, not even with the focus on the button.
    unlock->setAutoDefault(false);
    unlock->setDefault(false);
    connect(unlock, &QPushButton::clicked, this, &CUnlockDlg::OnUnlock);
}

void CUnlockDlg::OnUnlock() {
    const bool verified = VerifyCurrentUser(state_, store_, this);
    WaitCursor busy(kHoldMs);
    if (!verified)
        return;
    unlocked_ = true;
    accept();
    if (state_.loggedIn() && state_.screenLocked) {
        state_.screenLocked = false;
        if (onUnlocked_)
            onUnlocked_();
    }
}

void CUnlockDlg::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    // A frame in the station's colour marks the window, which has no title.
    painter.setPen(QPen(SkinBackgroundColor(), 3));
    painter.drawRect(QRectF(rect()).adjusted(1.5, 1.5, -1.5, -1.5));
    DrawBitmapInRect(painter,
                     LoadSkinPicture(GetAppFolder() + QStringLiteral("/imgs/lock_padlock.bmp")),
                     kPadlockRect);
}

void CUnlockDlg::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Escape:
        event->accept();
        return;
    default:
        QDialog::keyPressEvent(event);
    }
}

void CUnlockDlg::closeEvent(QCloseEvent* event) {
    if (unlocked_)
        QDialog::closeEvent(event);
    else
        event->ignore();
}
