#pragma once

#include <QDialog>
#include <QStringList>

#include <memory>

class DataStore;
class MusicCategoryModel;

namespace Ui {
class CMusicSelDlg;
}

// Picks music files from the library for the music item editors: a category
// from the drop-down, then one file or, when the caller allows it, several.
// The dialog only reads the library.
class CMusicSelDlg : public QDialog {
    Q_OBJECT

public:
    CMusicSelDlg(const DataStore& store, bool allowSeveral, QWidget* parent = nullptr);
    ~CMusicSelDlg() override;

    // The paths confirmed, in list order; empty before that or after cancel.
    QStringList chosenPaths() const { return chosen_; }

public slots:
    void accept() override;

private:
    void showCategory();

    const DataStore& store_;
    std::unique_ptr<Ui::CMusicSelDlg> ui_;
    MusicCategoryModel* model_ = nullptr;
    QStringList chosen_;
};
