#pragma once

#include <QDialog>

#include <memory>

class DataStore;
class Player;
class SpeechJob;
struct AppState;

namespace Ui {
class CTTSTextDlg;
}

// One script: its title and text. Anybody may open and listen to it; only an
// administrator may confirm. The listen button's tooltip shows the text as it
// would be spoken now, its variables expanded.
class CTTSTextDlg : public QDialog {
    Q_OBJECT

public:
    static constexpr int kMaxTitleLength = 100;
    static constexpr int kMaxTextLength = 10000;

    CTTSTextDlg(const DataStore& store, const AppState& state, const Player& player, SpeechJob& job,
                const QString& title = QString(), const QString& text = QString(),
                QWidget* parent = nullptr);
    ~CTTSTextDlg() override;

    // Valid after confirm: each '|' replaced, the title untrimmed.
    QString title() const { return title_; }
    QString text() const { return text_; }

    // The text box's text with the variables expanded as a speech would.
    QString spokenText() const;

public slots:
    void accept() override;

private:
    void appendVariable(const QString& name);
    void importScript();
    void listen();
    void textChanged();
    bool refuse(const QString& key, QWidget* focus);

    const DataStore& store_;
    const AppState& state_;
    const Player& player_;
    SpeechJob& job_;
    std::unique_ptr<Ui::CTTSTextDlg> ui_;
    QString title_;
    QString text_;
};
