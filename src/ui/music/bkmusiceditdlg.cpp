#include "ui/music/bkmusiceditdlg.h"

#include "ui_bkmusiceditdlg.h"

#include <QFileInfo>

#include "controls/messagebox.h"
#include "controls/waitcursor.h"
#include "store/datastore.h"
#include "store/uitext.h"
#include "support/stringutils.h"
#include "ui/media/playerwnd.h"
#include "ui/music/musiceditdlg.h"

namespace {

const QChar kPathSeparator = u'|';
constexpr int kMaxVolume = 100;

} // namespace

CBkMusicEditDlg::CBkMusicEditDlg(const DataStore& store, const CPlayerWnd& player,
                                 const PlayItem* existing, QWidget* parent)
    : QDialog(parent), store_(store), player_(player), ui_(std::make_unique<Ui::CBkMusicEditDlg>()),
      newItem_(existing == nullptr) {
    ui_->setupUi(this);
    if (existing) {
        item_ = *existing;
    } else {
        item_.kind = PlayItem::Background;
        item_.playCount = kUnlimitedPlays;
        // New music usually goes with the loudness of the last task.
        item_.volume = store_.musicTasks.empty() ? kMaxVolume : store_.musicTasks.back()->volume;
    }

    // The lines' data is the count they stand for; typed text has none.
    QComboBox* counts = ui_->countCombo;
    counts->addItem(tr("次数不限"), kUnlimitedPlays);
    for (int n = 0; n <= kListedCounts; ++n)
        counts->addItem(QString::number(n), n);
    const int line = counts->findData(item_.playCount);
    if (line >= 0)
        counts->setCurrentIndex(line);
    else
        counts->setEditText(QString::number(item_.playCount));

    ui_->fileEdit->setText(item_.path);
    ui_->volumeSpin->setValue(item_.volume);
    connect(ui_->browseButton, &QPushButton::clicked, this,
            [this] { takeFiles(ChooseMusicFiles(this, store_, newItem_, false)); });
    connect(ui_->libraryButton, &QPushButton::clicked, this,
            [this] { takeFiles(ChooseMusicFiles(this, store_, newItem_, true)); });
    connect(ui_->okButton, &QPushButton::clicked, this, &CBkMusicEditDlg::accept);
    connect(ui_->cancelButton, &QPushButton::clicked, this, &CBkMusicEditDlg::reject);
}

CBkMusicEditDlg::~CBkMusicEditDlg() = default;

void CBkMusicEditDlg::takeFiles(const QStringList& paths) {
    if (!paths.isEmpty())
        ui_->fileEdit->setText(newItem_ ? paths.join(kPathSeparator) : paths.first());
}

void CBkMusicEditDlg::refuse(const QString& key, const QString& text, QWidget* focus) {
    MessageBox::showWarning(this, key, text);
    focus->setFocus();
}

void CBkMusicEditDlg::accept() {
    bool ok = false;
    const int volume = ui_->volumeSpin->cleanText().trimmed().toInt(&ok);
    if (!ok || volume < 0 || volume > kMaxVolume) {
        refuse(QString(),
               tr("请输入一个 %1 至 %2 之间的整数。")
                   .arg(QString::number(0), QString::number(kMaxVolume)),
               ui_->volumeSpin);
        return;
    }
    const QString file = ui_->fileEdit->text();
    QStringList paths;
    if (!CheckMusicFileField(this, ui_->fileEdit, newItem_, &paths))
        return;

    if (newItem_) {
        chosenPaths_ = paths;
    } else if (!PathsEqual(file, item_.path)) {
        WaitCursor busy;
        item_.duration = player_.MeasureMediaLength(file);
    }
    item_.path = newItem_ ? QString() : file;
    item_.volume = volume;
    // The line of "no limit" stands for itself; any other line, or a
    // number typed over it, is read as the text shows it.
    QComboBox* counts = ui_->countCombo;
    const bool unlimited =
        counts->currentIndex() == 0 && counts->currentText() == counts->itemText(0);
    item_.playCount = unlimited ? kUnlimitedPlays : TextToInt(counts->currentText());
    QDialog::accept();
}
