#include "ui/music/musicseldlg.h"

#include "ui_musicseldlg.h"

#include <QHeaderView>

#include <algorithm>

#include "controls/messagebox.h"
#include "station/musiccategorymodel.h"
#include "store/datastore.h"
#include "store/uitext.h"
#include "ui/music/musiclists.h"

namespace {

constexpr int kNumberWidth = 60;

} // namespace

CMusicSelDlg::CMusicSelDlg(const DataStore& store, bool allowSeveral, QWidget* parent)
    : QDialog(parent), store_(store), ui_(std::make_unique<Ui::CMusicSelDlg>()) {
    ui_->setupUi(this);
    setModal(true);

    model_ = new MusicCategoryModel(this);
    model_->setMissingFileText(GetUiText(QStringLiteral("music_file_missing")));
    QTreeView* list = ui_->fileList;
    SetUpMusicList(list, kNumberWidth);
    list->setModel(model_);
    list->header()->setStretchLastSection(true);
    list->setSelectionMode(allowSeveral ? QAbstractItemView::ExtendedSelection
                                        : QAbstractItemView::SingleSelection);

    connect(ui_->categoryChooser, &QComboBox::currentIndexChanged, this,
            &CMusicSelDlg::showCategory);
    connect(list, &QTreeView::doubleClicked, this, &CMusicSelDlg::accept);
    connect(ui_->okButton, &QPushButton::clicked, this, &CMusicSelDlg::accept);
    connect(ui_->cancelButton, &QPushButton::clicked, this, &CMusicSelDlg::reject);

    FillCategoryChooser(ui_->categoryChooser, store_);
    showCategory();
}

CMusicSelDlg::~CMusicSelDlg() = default;

void CMusicSelDlg::showCategory() {
    model_->setCategory(ChosenCategory(ui_->categoryChooser));
    FitMusicNumberColumn(ui_->fileList, kNumberWidth);
}

void CMusicSelDlg::accept() {
    QModelIndexList rows = ui_->fileList->selectionModel()->selectedRows();
    if (rows.isEmpty()) {
        const QString key = QStringLiteral("sel_play_music");
        MessageBox::showNotice(this, key, GetUiText(key));
        return;
    }
    // Selected in any order, handed over in the order of the list.
    std::sort(rows.begin(), rows.end(),
              [](const QModelIndex& a, const QModelIndex& b) { return a.row() < b.row(); });
    chosen_.clear();
    for (const QModelIndex& row : rows)
        chosen_ << model_->path(row.row());
    QDialog::accept();
}
