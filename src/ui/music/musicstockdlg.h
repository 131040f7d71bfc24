#pragma once

#include <QWidget>

#include <memory>

class DataStore;
class MusicCategoryModel;
class Player;
class QTreeView;

namespace Ui {
class CMusicStockDlg;
}

// The music library page: one category's files at a time, chosen in the
// drop-down. Files come in through the file dialog, a folder (every music
// file below it) or a drop from a file manager; a file is removed, or
// played for the operator to hear. The categories themselves are managed
// in their own dialog. Every change is saved at once.
class CMusicStockDlg : public QWidget {
    Q_OBJECT

public:
    CMusicStockDlg(DataStore& store, Player& player, QWidget* parent = nullptr);
    ~CMusicStockDlg() override;

    // Reads the categories into the drop-down again, on the same line as far
    // as there are lines, and lists that category's files.
    void loadCategories();

    QTreeView* list() const;
    MusicCategoryModel* model() const { return model_; }

signals:
    // The management dialog closed: categories may have been added,
    // renamed, removed or moved.
    void categoriesChanged();

protected:
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void showCategory();
    void updateButtons();
    void fitPathColumn();
    void manageCategories();
    void addFiles();
    void addFolder();
    // Files, and the music files below folders, go to the shown category:
    // paths it holds already are skipped, paths the data files cannot hold
    // are refused, the rest is appended and saved.
    void addPaths(const QStringList& chosen);
    void removeFile();
    void playRow(int row);
    int selectedRow() const;

    DataStore& store_;
    Player& player_;
    std::unique_ptr<Ui::CMusicStockDlg> ui_;
    MusicCategoryModel* model_ = nullptr;
};
