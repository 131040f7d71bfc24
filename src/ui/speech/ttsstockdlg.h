#pragma once

#include <QWidget>

#include <memory>

class DataStore;
class Player;
class QPlainTextEdit;
class QTreeView;
class ScriptModel;
class SpeechJob;
struct AppState;

namespace Ui {
class CTTSStockDlg;
}

// The scripts page: the stored scripts by title, the selected one's text
// below them, and adding, editing, deleting and listening. Every change is
// saved at once.
class CTTSStockDlg : public QWidget {
    Q_OBJECT

public:
    CTTSStockDlg(DataStore& store, const AppState& state, const Player& player, SpeechJob& job,
                 QWidget* parent = nullptr);
    ~CTTSStockDlg() override;

    // What the number column and a scroll bar take; the title has the rest.
    static constexpr int kFixedColumnsWidth = 65;

    QTreeView* list() const;
    QPlainTextEdit* textBox() const;
    ScriptModel* model() const { return model_; }

    // The page's commands, as its buttons and a double-click give them.
    void OnAdd();
    void OnEdit();
    void OnDelete();
    void OnListen();

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    int selectedRow() const;
    void selectRow(int row);
    void showSelection();
    void fitTitleColumn();

    DataStore& store_;
    const AppState& state_;
    const Player& player_;
    SpeechJob& job_;
    std::unique_ptr<Ui::CTTSStockDlg> ui_;
    ScriptModel* model_ = nullptr;
};
