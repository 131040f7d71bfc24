#include "ui/speech/speakbkmusiceditdlg.h"

#include "ui_speakbkmusiceditdlg.h"

#include <QFileInfo>

#include "controls/filedialog.h"
#include "controls/messagebox.h"
#include "store/appstate.h"
#include "store/datastore.h"
#include "store/uitext.h"
#include "ui/music/musicseldlg.h"
#include "ui/users/userlogin.h"

namespace {

constexpr int kMinVolume = 0;
constexpr int kMaxVolume = 100;
const QChar kPathSeparator = u'|';

} // namespace

CSpeakBkMusicEditDlg::CSpeakBkMusicEditDlg(const DataStore& store, const AppState& state,
                                           const QString& fileText, int volume, QWidget* parent)
    : QDialog(parent), store_(store), state_(state),
      ui_(std::make_unique<Ui::CSpeakBkMusicEditDlg>()) {
    ui_->setupUi(this);
    connect(ui_->okButton, &QPushButton::clicked, this, &CSpeakBkMusicEditDlg::accept);
    connect(ui_->cancelButton, &QPushButton::clicked, this, &CSpeakBkMusicEditDlg::reject);
    connect(ui_->browseButton, &QPushButton::clicked, this, &CSpeakBkMusicEditDlg::browse);
    connect(ui_->libraryButton, &QPushButton::clicked, this,
            &CSpeakBkMusicEditDlg::chooseFromLibrary);

    newEntry_ = fileText.isEmpty();
    // New music usually goes with the loudness chosen last time.
    if (newEntry_)
        volume = store_.backgroundMusic.empty() ? 0 : store_.backgroundMusic.back()->volume;
    volume_ = volume;
    ui_->fileEdit->setText(fileText);
    ui_->volumeSpin->setValue(volume);
}

CSpeakBkMusicEditDlg::~CSpeakBkMusicEditDlg() = default;

QString CSpeakBkMusicEditDlg::fileText() const {
    return ui_->fileEdit->text();
}

void CSpeakBkMusicEditDlg::browse() {
    QStringList paths;
    if (newEntry_) {
        paths = FileDialog::getOpenFileNames(this, QString(), QString(), MusicFileFilter());
    } else {
        const QString path =
            FileDialog::getOpenFileName(this, QString(), QString(), MusicFileFilter());
        if (!path.isEmpty())
            paths << path;
    }
    takeFiles(paths);
}

void CSpeakBkMusicEditDlg::chooseFromLibrary() {
    CMusicSelDlg dlg(store_, newEntry_, this);
    if (dlg.exec() == QDialog::Accepted)
        takeFiles(dlg.chosenPaths());
}

void CSpeakBkMusicEditDlg::takeFiles(const QStringList& paths) {
    QStringList usable;
    for (const QString& path : paths) {
        if (IsStorablePath(path)) {
            usable << path;
            continue;
        }
        const QString key = QStringLiteral("fmt_path_bad_chars");
        MessageBox::showNotice(this, key, FormatUiText(GetUiText(key), path));
    }
    if (usable.isEmpty())
        return;
    ui_->fileEdit->setText(newEntry_ ? usable.join(kPathSeparator) : usable.first());
}

bool CSpeakBkMusicEditDlg::refuse(const QString& key, const QString& text, QWidget* focus) {
    MessageBox::showNotice(this, key, text);
    if (focus)
        focus->setFocus();
    return false;
}

void CSpeakBkMusicEditDlg::accept() {
    if (!IsAdministrator(state_)) {
        const QString key = QStringLiteral("only_admin_role_to_exec");
        refuse(key, GetUiText(key), nullptr);
        return;
    }
    bool ok = false;
    const qlonglong volume = ui_->volumeSpin->cleanText().trimmed().toLongLong(&ok);
    if (!ok || volume < kMinVolume || volume > kMaxVolume) {
        refuse(QString(),
               tr("请输入一个 %1 至 %2 之间的整数。")
                   .arg(QString::number(kMinVolume), QString::number(kMaxVolume)),
               ui_->volumeSpin);
        return;
    }
    const QString text = fileText();
    if (text.isEmpty()) {
        const QString key = QStringLiteral("entry_music_file");
        refuse(key, GetUiText(key), ui_->fileEdit);
        return;
    }
    if (newEntry_) {
        // Whether the files exist and are new to the list is the list's
        // business: it adds what it can and says what it could not.
        chosenPaths_ = text.split(kPathSeparator, Qt::SkipEmptyParts);
    } else {
        if (!IsStorablePath(text)) {
            const QString key = QStringLiteral("fmt_path_bad_chars");
            refuse(key, FormatUiText(GetUiText(key), text), ui_->fileEdit);
            return;
        }
        if (!QFileInfo::exists(text)) {
            const QString key = QStringLiteral("music_exist_reentry");
            refuse(key, GetUiText(key), ui_->fileEdit);
            ui_->fileEdit->selectAll();
            return;
        }
    }
    volume_ = int(volume);
    QDialog::accept();
}
