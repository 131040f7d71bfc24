#pragma once

#include <QDialog>
#include <QImage>

class DataStore;

// The start-up picture, shown once while the data store loads. It closes
// itself 3000 ms after it opens, loading the store on the way out. Without
// its picture it closes at once, and it still loads the store first: the
// program must never run on an empty store, whose first save would
// overwrite the data files.
class CStartFlashDlg : public QDialog {
    Q_OBJECT

public:
    static constexpr int kShowMs = 3000;

    // picturePath: by default SplashPicturePath().
    explicit CStartFlashDlg(DataStore& store, const QString& picturePath = QString(),
                            QWidget* parent = nullptr);
    ~CStartFlashDlg() override;

    // "<program folder>/imgs/splash.bmp".
    static QString SplashPicturePath();

    // Shows the splash modally and makes sure the store was loaded exactly
    // once when it returns, however the splash ended. The result is the
    // dialog's: 1 when its timer ran, 0 when the picture was missing.
    static int Run(DataStore& store, QWidget* parent = nullptr);

    bool pictureLoaded() const { return !picture_.isNull(); }
    bool storeLoaded() const { return loaded_; }

    int exec() override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void timerEvent(QTimerEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void loadStore();

    DataStore& store_;
    QImage picture_;
    int timerId_ = 0;
    bool loaded_ = false;
};
