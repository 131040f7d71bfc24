#pragma once

#include <QDialog>

#include <memory>

class DataStore;
class QTreeView;
class UserListModel;
struct AppState;

namespace Ui {
class CUserManageDlg;
}

// The user accounts: administrators add, edit and delete them and set
// anybody's password; everybody may set his own. The built-in "Admin" cannot
// be deleted. Every confirmed change is saved at once.
class CUserManageDlg : public QDialog {
    Q_OBJECT

public:
    CUserManageDlg(DataStore& store, AppState& state, QWidget* parent = nullptr);
    ~CUserManageDlg() override;

    // What the column of names leaves to the others, with room for a scroll
    // bar.
    static constexpr int kFixedColumnsWidth = 140;

    QTreeView* list() const;
    UserListModel* model() const { return model_; }

    // The dialog's commands, as its buttons and a double-click give them.
    void OnAdd();
    void OnEdit();
    void OnDelete();
    void OnChangePassword();

signals:
    // The logged-in account was edited: its role, and maybe the name shown on
    // the main window's user button, changed.
    void currentUserChanged();

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    int selectedRow() const;
    void selectRow(int row);
    void showSelection();
    void fitNameColumn();
    bool refuseOperator();

    DataStore& store_;
    AppState& state_;
    std::unique_ptr<Ui::CUserManageDlg> ui_;
    UserListModel* model_ = nullptr;
};
