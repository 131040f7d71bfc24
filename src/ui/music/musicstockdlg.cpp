#include "ui/music/musicstockdlg.h"

#include "ui_musicstockdlg.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QHeaderView>
#include <QMenu>
#include <QMimeData>
#include <QSet>
#include <QStyle>
#include <QTimer>
#include <QUrl>

#include "controls/filedialog.h"
#include "controls/listutils.h"
#include "controls/messagebox.h"
#include "media/player.h"
#include "station/musiccategorymodel.h"
#include "store/datastore.h"
#include "store/uitext.h"
#include "ui/music/musicfoldermanagedlg.h"
#include "ui/music/musiclists.h"

namespace {

constexpr int kNumberWidth = 40;
// The path column leaves this much of the list's width to the number
// column and a scroll bar.
constexpr int kPathColumnMargin = 65;

// Paths compared as PathsEqual compares them, as a key for a set: letter
// case aside, '\' and '/' alike.
QString pathKey(const QString& path) {
    QString key(path.size(), Qt::Uninitialized);
    for (qsizetype i = 0; i < path.size(); ++i) {
        const QChar c = path[i];
        key[i] = c == u'\\' ? QChar(u'/') : c.toUpper();
    }
    return key;
}

// The local files and folders a drag carries; none when it carries
// anything else.
QStringList droppedPaths(const QMimeData* data) {
    QStringList paths;
    if (!data || !data->hasUrls())
        return paths;
    for (const QUrl& url : data->urls()) {
        if (url.isLocalFile())
            paths << url.toLocalFile();
    }
    return paths;
}

} // namespace

CMusicStockDlg::CMusicStockDlg(DataStore& store, Player& player, QWidget* parent)
    : QWidget(parent), store_(store), player_(player), ui_(std::make_unique<Ui::CMusicStockDlg>()) {
    ui_->setupUi(this);

    const auto icon = [this](const char* themeName, QStyle::StandardPixmap fallback) {
        return QIcon::fromTheme(QString::fromLatin1(themeName), style()->standardIcon(fallback));
    };
    ui_->manageButton->setIcon(icon("folder", QStyle::SP_DirIcon));
    ui_->addButton->setIcon(icon("list-add", QStyle::SP_FileDialogNewFolder));
    ui_->deleteButton->setIcon(icon("list-remove", QStyle::SP_TrashIcon));
    ui_->playButton->setIcon(icon("media-playback-start", QStyle::SP_MediaPlay));

    // A plain click adds files; the arrow also offers a whole folder.
    auto* addMenu = new QMenu(ui_->addButton);
    addMenu->setObjectName(QStringLiteral("addMenu"));
    addMenu->addAction(ui_->addFilesAction);
    addMenu->addAction(ui_->addFolderAction);
    ui_->addButton->setMenu(addMenu);

    model_ = new MusicCategoryModel(this);
    model_->setMissingFileText(GetUiText(QStringLiteral("music_file_missing")));
    QTreeView* list = ui_->fileList;
    SetUpMusicList(list, kNumberWidth);
    list->setModel(model_);
    list->header()->setStretchLastSection(false);
    list->setAcceptDrops(true);
    list->viewport()->setAcceptDrops(true);
    list->viewport()->installEventFilter(this);

    connect(ui_->categoryChooser, &QComboBox::currentIndexChanged, this,
            &CMusicStockDlg::showCategory);
    connect(list->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &CMusicStockDlg::updateButtons);
    connect(list, &QTreeView::doubleClicked, this,
            [this](const QModelIndex& index) { playRow(index.row()); });
    connect(ui_->manageButton, &QToolButton::clicked, this, &CMusicStockDlg::manageCategories);
    connect(ui_->addButton, &QToolButton::clicked, this, &CMusicStockDlg::addFiles);
    connect(ui_->addFilesAction, &QAction::triggered, this, &CMusicStockDlg::addFiles);
    connect(ui_->addFolderAction, &QAction::triggered, this, &CMusicStockDlg::addFolder);
    connect(ui_->deleteButton, &QToolButton::clicked, this, &CMusicStockDlg::removeFile);
    connect(ui_->playButton, &QToolButton::clicked, this, [this] { playRow(selectedRow()); });

    loadCategories();
    fitPathColumn();
}

CMusicStockDlg::~CMusicStockDlg() = default;

QTreeView* CMusicStockDlg::list() const {
    return ui_->fileList;
}

void CMusicStockDlg::loadCategories() {
    FillCategoryChooser(ui_->categoryChooser, store_);
    showCategory();
}

void CMusicStockDlg::showCategory() {
    model_->setCategory(ChosenCategory(ui_->categoryChooser));
    FitMusicNumberColumn(ui_->fileList, kNumberWidth);
    updateButtons();
}

int CMusicStockDlg::selectedRow() const {
    return SelectedListRow(ui_->fileList);
}

void CMusicStockDlg::updateButtons() {
    const bool selected = selectedRow() >= 0;
    ui_->deleteButton->setEnabled(selected);
    ui_->playButton->setEnabled(selected);
}

void CMusicStockDlg::fitPathColumn() {
    QTreeView* list = ui_->fileList;
    const int client = list->width() - 2 * list->frameWidth();
    list->setColumnWidth(MusicCategoryModel::PathColumn, qMax(100, client - kPathColumnMargin));
}

void CMusicStockDlg::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    fitPathColumn();
}

void CMusicStockDlg::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    // Drives may have been mounted or files copied since the page was last
    // seen.
    model_->recheckFiles();
}

void CMusicStockDlg::manageCategories() {
    // The dialog may free the category shown; the list lets go of it
    // until the drop-down is read again.
    model_->setCategory(nullptr);
    CMusicFolderManageDlg dialog(store_, this);
    dialog.exec();
    loadCategories();
    emit categoriesChanged();
}

void CMusicStockDlg::addFiles() {
    if (!ChosenCategory(ui_->categoryChooser))
        return;
    addPaths(FileDialog::getOpenFileNames(this, tr("增加曲目"), QString(), MusicFileFilter()));
}

void CMusicStockDlg::addFolder() {
    if (!ChosenCategory(ui_->categoryChooser))
        return;
    const QString folder = FileDialog::getExistingDirectory(this, tr("添加文件夹"), QString());
    if (!folder.isEmpty())
        addPaths({folder});
}

void CMusicStockDlg::addPaths(const QStringList& chosen) {
    MusicCategory* category = ChosenCategory(ui_->categoryChooser);
    if (!category || chosen.isEmpty())
        return;
    QStringList files;
    QStringList patterns;
    for (const QString& path : chosen) {
        if (!QFileInfo(path).isDir()) {
            files << path;
            continue;
        }
        if (patterns.isEmpty())
            patterns = MusicFilePatterns();
        files += MusicFilesBelow(path, patterns);
    }

    QSet<QString> held;
    held.reserve(category->files.size() + files.size());
    for (const QString& file : category->files)
        held.insert(pathKey(file));
    QStringList fresh;
    QString firstHeld;
    QString firstRefused;
    for (const QString& file : files) {
        if (!IsStorablePath(file)) {
            if (firstRefused.isEmpty())
                firstRefused = file;
            continue;
        }
        const QString key = pathKey(file);
        if (held.contains(key)) {
            if (firstHeld.isEmpty())
                firstHeld = file;
            continue;
        }
        held.insert(key);
        fresh << file;
    }

    QTreeView* list = ui_->fileList;
    if (!fresh.isEmpty()) {
        const int firstRow = model_->rowCount();
        model_->appendFiles(*category, fresh);
        FitMusicNumberColumn(list, kNumberWidth);
        SelectListRow(list, firstRow);
        store_.SaveCategoryFile();
    }
    if (!firstRefused.isEmpty()) {
        const QString key = QStringLiteral("fmt_path_bad_chars");
        MessageBox::showNotice(this, key, FormatUiText(GetUiText(key), firstRefused));
    }
    if (fresh.isEmpty() && !firstHeld.isEmpty()) {
        const QString key = QStringLiteral("music_exist_category");
        MessageBox::showNotice(this, key, GetUiText(key));
        SelectListRow(list, model_->findPath(firstHeld));
    }
}

void CMusicStockDlg::removeFile() {
    MusicCategory* category = ChosenCategory(ui_->categoryChooser);
    const int row = selectedRow();
    if (!category || row < 0 || !model_->removeFile(store_, *category, row))
        return;
    SelectListRow(ui_->fileList, row > 0 ? row - 1 : 0);
    FitMusicNumberColumn(ui_->fileList, kNumberWidth);
    updateButtons();
}

void CMusicStockDlg::playRow(int row) {
    const QString path = model_->path(row);
    // Volume 0 plays at full volume.
    if (!path.isEmpty())
        player_.PreviewFile(path, 0);
}

bool CMusicStockDlg::eventFilter(QObject* watched, QEvent* event) {
    if (watched != ui_->fileList->viewport())
        return QWidget::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::DragEnter:
    case QEvent::DragMove: {
        auto* drag = static_cast<QDropEvent*>(event);
        if (ChosenCategory(ui_->categoryChooser) && !droppedPaths(drag->mimeData()).isEmpty())
            drag->acceptProposedAction();
        else
            drag->ignore();
        return true;
    }
    case QEvent::Drop: {
        auto* drop = static_cast<QDropEvent*>(event);
        // Dropped files are taken as the file dialog would offer them: music
        // files only. Folders are searched as a chosen folder is.
        const QStringList patterns = MusicFilePatterns();
        QStringList paths;
        for (const QString& path : droppedPaths(drop->mimeData())) {
            if (QFileInfo(path).isDir() || IsMusicFileName(path, patterns))
                paths << path;
        }
        drop->acceptProposedAction();
        // A box shown inside the drop would hold the file manager's drag;
        // the files are added once the drop is over.
        QTimer::singleShot(0, this, [this, paths] { addPaths(paths); });
        return true;
    }
    default:
        return QWidget::eventFilter(watched, event);
    }
}
