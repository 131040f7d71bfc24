#pragma once

#include <QDialog>

#include <memory>

class DataStore;
class MusicCategoryListModel;

namespace Ui {
class CMusicFolderManageDlg;
}

// Adds, renames, removes and reorders the music categories. Every change is
// made in the store and saved at once; closing only closes.
class CMusicFolderManageDlg : public QDialog {
    Q_OBJECT

public:
    explicit CMusicFolderManageDlg(DataStore& store, QWidget* parent = nullptr);
    ~CMusicFolderManageDlg() override;

private:
    int selectedRow() const;
    void selectRow(int row);
    void updateButtons();
    void addCategory();
    void renameCategory();
    void removeCategory();
    void moveCategory(int step);

    std::unique_ptr<Ui::CMusicFolderManageDlg> ui_;
    MusicCategoryListModel* model_ = nullptr;
};
