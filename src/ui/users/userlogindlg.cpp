#include "ui/users/userlogindlg.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>

#include "controls/fonts.h"
#include "controls/messagebox.h"
#include "controls/skin.h"
#include "controls/waitcursor.h"
#include "store/datastore.h"
#include "store/uitext.h"
#include "support/apppaths.h"

namespace {

constexpr int kPasswordLength = 40;
// The corners are cut as quarter ellipses of this width and height.
constexpr int kCornerSize = 10;
// The heading of the picture: its size, and its colour.
constexpr int kHeadingPixels = 16;
constexpr int kHeadingIndent = 6;
const QColor kHeadingInk(52, 64, 72);

QString loginPicturePath() {
    return GetAppFolder() + QStringLiteral("/imgs/loginbk.bmp");
}

// A button the picture draws: it paints nothing of its own. The focus stays
// in the boxes, where Enter logs in.
class PicturePlace : public QPushButton {
public:
    PicturePlace(const QString& text, QWidget* parent) : QPushButton(text, parent) {
        setFocusPolicy(Qt::NoFocus);
        setAutoDefault(false);
    }

protected:
    void paintEvent(QPaintEvent*) override {}
};

QRegion cutCorners(const QSize& size) {
    QPainterPath path;
    path.addRoundedRect(QRectF(0, 0, size.width(), size.height()), kCornerSize / 2.0,
                        kCornerSize / 2.0);
    return QRegion(path.toFillPolygon().toPolygon());
}

} // namespace

CUserLoginDlg::CUserLoginDlg(DataStore& store, const QString& name, int mode, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint), store_(store), mode_(mode) {
    setObjectName(QStringLiteral("CUserLoginDlg"));
    setWindowTitle(tr("用户登录"));
    setFixedSize(kWidth, kHeight);
    setMask(cutCorners(size()));
    if (!QApplication::windowIcon().isNull())
        setWindowIcon(QApplication::windowIcon());

    // The labels and the buttons are part of the picture. The labels stay
    // hidden; the buttons lie over their pictures without drawing anything,
    // so that a click there presses them and a screen reader finds them.
    auto* nameLabel = new QLabel(tr("登录名："), this);
    nameLabel->setObjectName(QStringLiteral("nameLabel"));
    nameLabel->setGeometry(130, 108, 70, 18);
    nameLabel->hide();
    auto* passwordLabel = new QLabel(tr("密码："), this);
    passwordLabel->setObjectName(QStringLiteral("passwordLabel"));
    passwordLabel->setGeometry(130, 147, 70, 18);
    passwordLabel->hide();

    auto* ok = new PicturePlace(tr("登录"), this);
    ok->setObjectName(QStringLiteral("okButton"));
    ok->setGeometry(okButtonRect());
    auto* cancel = new PicturePlace(tr("取消"), this);
    cancel->setObjectName(QStringLiteral("cancelButton"));
    cancel->setGeometry(cancelButtonRect());
    connect(ok, &QPushButton::clicked, this, &CUserLoginDlg::OnOK);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    // The icon and the prompt sit on the white part of the picture.
    QPalette onWhite = palette();
    onWhite.setColor(QPalette::Window, Qt::white);
    auto* icon = new QLabel(this);
    icon->setObjectName(QStringLiteral("icon"));
    icon->setGeometry(186, 62, 24, 24);
    icon->setPalette(onWhite);
    icon->setAutoFillBackground(true);
    if (!windowIcon().isNull())
        icon->setPixmap(windowIcon().pixmap(24, 24));
    prompt_ = new QLabel(tr("请输入登录名和密码。"), this);
    prompt_->setObjectName(QStringLiteral("prompt"));
    prompt_->setGeometry(216, 58, 186, 36);
    prompt_->setWordWrap(true);
    prompt_->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    prompt_->setPalette(onWhite);
    prompt_->setAutoFillBackground(true);

    nameEdit_ = new QLineEdit(this);
    nameEdit_->setObjectName(QStringLiteral("loginName"));
    nameEdit_->setAccessibleName(tr("登录名"));
    nameEdit_->setGeometry(204, 108, 158, 18);
    passwordEdit_ = new QLineEdit(this);
    passwordEdit_->setObjectName(QStringLiteral("password"));
    passwordEdit_->setAccessibleName(tr("密码"));
    passwordEdit_->setGeometry(204, 147, 158, 18);
    passwordEdit_->setEchoMode(QLineEdit::Password);
    passwordEdit_->setMaxLength(kPasswordLength);
    // Thin boxes: the picture draws the frames around them.
    nameEdit_->setFrame(false);
    passwordEdit_->setFrame(false);

    QString offered = name;
    if (mode_ == StartupLogin && offered.isEmpty() && !store_.users.empty())
        offered = store_.users.front()->name;
    nameEdit_->setText(offered);

    if (mode_ == VerifyPassword) {
        if (!offered.isEmpty())
            nameEdit_->setEnabled(false);
        setWindowTitle(GetUiText(QStringLiteral("pwd_verify")));
        addVerifyHeading();
        prompt_->setText(GetUiText(QStringLiteral("entry_pwd_to_verify_permissions")));
    }
    if (!offered.isEmpty())
        passwordEdit_->setFocus();
    else
        nameEdit_->setFocus();
}

void CUserLoginDlg::addVerifyHeading() {
    // The picture's heading announces a login; a password check covers it
    // with its own, in the language of the UI texts.
    auto* heading = new QLabel(windowTitle(), this);
    heading->setObjectName(QStringLiteral("heading"));
    heading->setGeometry(headingRect());
    heading->setIndent(kHeadingIndent);
    heading->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    QFont font = BoldFont();
    font.setPixelSize(kHeadingPixels);
    heading->setFont(font);
    QPalette palette = heading->palette();
    palette.setColor(QPalette::Window, Qt::white);
    palette.setColor(QPalette::WindowText, kHeadingInk);
    heading->setPalette(palette);
    heading->setAutoFillBackground(true);
}

void CUserLoginDlg::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    activateWindow();
    if (!nameEdit_->text().isEmpty())
        passwordEdit_->setFocus();
}

void CUserLoginDlg::OnOK() {
    bool accepted = false;
    {
        // The wait cursor stays for the minimum time of an attempt, whatever
        // the outcome, so a wrong guess costs as much as a right one.
        WaitCursor busy(kAttemptMs);
        const QString name = nameEdit_->text();
        const QString password = passwordEdit_->text();
        const auto refuse = [this](const char* key) {
            const QString k = QString::fromLatin1(key);
            MessageBox::showNotice(this, k, GetUiText(k));
        };
        if (name.isEmpty()) {
            refuse("entry_loginid");
            nameEdit_->setFocus();
            passwordEdit_->clear();
        } else if (password.isEmpty()) {
            refuse("entry_pwd");
            passwordEdit_->setFocus();
        } else if (const UserAccount* account = store_.FindUser(name); !account) {
            refuse("no_loginid");
            nameEdit_->setFocus();
            passwordEdit_->clear();
        } else if (account->password != password) {
            refuse("pwd_err");
            passwordEdit_->setFocus();
            passwordEdit_->clear();
        } else {
            loginName_ = name;
            role_ = account->role;
            accepted = true;
        }
    }
    if (accepted)
        accept();
}

void CUserLoginDlg::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    // Without the picture the dialog keeps its plain background; the boxes
    // still work.
    DrawBitmapInRect(painter, LoadSkinPicture(loginPicturePath()), rect());
}

void CUserLoginDlg::keyPressEvent(QKeyEvent* event) {
    // The OK button is hidden, so Enter is not a default-button press here.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        OnOK();
        return;
    }
    QDialog::keyPressEvent(event);
}

void CUserLoginDlg::mousePressEvent(QMouseEvent* event) {
    // Taken, so that the release comes here too.
    event->accept();
}

void CUserLoginDlg::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return;
    const QPoint at = event->position().toPoint();
    if (okButtonRect().contains(at))
        OnOK();
    else if (cancelButtonRect().contains(at))
        reject();
}
