#pragma once

#include <QWidget>

#include <memory>

class BackgroundMusicModel;
class CPlayerWnd;
class DataStore;
class QComboBox;
class QTreeView;
struct AppState;

namespace Ui {
class CTTSEffectDlg;
}

// The speech effect page: the effect list, the voice every speech without a
// voice of its own speaks with (its choice is kept as the store's
// playEffect), and the background music that speech tasks may lay under
// their texts, each file with its volume. Building the page registers its
// voice list as the effect list, so it must exist before anything is spoken.
class CTTSEffectDlg : public QWidget {
    Q_OBJECT

public:
    CTTSEffectDlg(DataStore& store, const AppState& state, CPlayerWnd& player,
                  QWidget* parent = nullptr);
    ~CTTSEffectDlg() override;

    // What the fixed columns take together, with room for a scroll bar; the
    // file column has the rest.
    static constexpr int kFixedColumnsWidth = 115;

    QComboBox* effectList() const;
    QTreeView* list() const;
    BackgroundMusicModel* model() const { return model_; }

    // The page's commands, as its buttons and a double-click give them.
    void OnAdd();
    void OnEdit();
    void OnDelete();
    void OnPreview();

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    int selectedRow() const;
    void selectRow(int row);
    void showSelection();
    void fitNameColumn();
    // Adds each path the list does not hold yet; returns the first new row
    // (-1 when none was added) and counts the paths already listed.
    int addPaths(const QStringList& paths, int volume, int* alreadyListed);

    DataStore& store_;
    const AppState& state_;
    CPlayerWnd& player_;
    std::unique_ptr<Ui::CTTSEffectDlg> ui_;
    BackgroundMusicModel* model_ = nullptr;
};
