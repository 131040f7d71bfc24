#pragma once

#include <QList>
#include <QWidget>

#include "store/records.h"

class QAbstractItemModel;
class QCheckBox;
class QDateEdit;
class QLineEdit;
class QPushButton;
class QTreeView;
struct AppState;

// What the music and the speech task pages share: the task list over its
// model, the search by date and text from the top, and the buttons to add,
// edit, delete and enable or disable, which follow the selection. Each page
// carries out its own commands.
class CTaskPanel : public QWidget {
    Q_OBJECT

public:
    // The controls of a page's form.
    struct Controls {
        QTreeView* list;
        QCheckBox* anyDate;
        QDateEdit* date;
        QLineEdit* text;
        QPushButton* search;
        QPushButton* add;
        QPushButton* edit;
        QPushButton* remove;
        QPushButton* toggle;
    };
    // A column of a set width, or wider when its title or its longest text
    // needs more.
    struct FixedColumn {
        int column;
        int width;
        QString longest;
    };
    // Room kept beside the columns for the list's scroll bar.
    static constexpr int kScrollBarWidth = 20;

    QTreeView* list() const { return controls_.list; }

    // The page's commands, as its buttons and a double-click give them.
    virtual void OnAdd() = 0;
    virtual void OnEdit() = 0;
    // After the question `deleteKey`, answered Yes; administrators only.
    void OnDelete();
    // Open to anybody.
    void OnToggle();
    // Selects the first task from the top that the search fields match; the
    // message `noMatchKey` when none does in a list that is not empty.
    void OnSearch();

protected:
    CTaskPanel(const AppState& state, const QString& noMatchKey, const QString& deleteKey,
               QWidget* parent);
    // The name column takes what the fixed columns leave; search dates start
    // at `today`.
    void setUpPanel(const Controls& controls, QAbstractItemModel* model, int nameColumn,
                    const QList<FixedColumn>& fixedColumns, YmdDate today);

    // Whether the task of `row` is disabled; -1 when the row has none.
    virtual int disabledAt(int row) const = 0;
    virtual void removeTask(int row) = 0;
    virtual void toggleTask(int row) = 0;
    // The first row matching the search, -1 for none (`date` 0: any date).
    virtual int findTask(YmdDate date, const QString& text) const = 0;
    // Shows what else the page tells of the selected task (-1: none).
    virtual void showTask(int row) { Q_UNUSED(row) }

    int selectedRow() const;
    void selectRow(int row);
    void resizeEvent(QResizeEvent* event) override;

private:
    void showSelection();
    void fitNameColumn();

    const AppState& state_;
    QString noMatchKey_;
    QString deleteKey_;
    Controls controls_{};
    QAbstractItemModel* model_ = nullptr;
    int nameColumn_ = 0;
};
