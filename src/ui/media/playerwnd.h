#pragma once

#include <QPointer>
#include <QWidget>

#include <memory>

#include "media/player.h"

class QComboBox;
class QLabel;
class QMediaPlayer;
class QSlider;
class QStackedWidget;
class QToolButton;
class QVideoWidget;
class QtMediaBackend;
struct CommonSettings;

// The visible player over the main window's media area: a video surface for
// files with pictures (black otherwise, with the file's name) and the player's
// own controls: play/pause, stop, a position slider between the elapsed and
// the total time, and the volume. What the operator does with them goes to
// the media player directly; the schedules see it only through the polled
// play state. The station's tick runs the player; the window's own timer only
// looks for a media player that could not be created at first.
class CPlayerWnd : public QWidget {
    Q_OBJECT

public:
    // Shows a player owned elsewhere, which must outlive the window.
    explicit CPlayerWnd(Player& player, QWidget* parent = nullptr);
    // Owns a player on the real media player and voice. `settings` (may be
    // null) gives the enterprise name of speech texts.
    CPlayerWnd(const Clock& clock, const CommonSettings* settings, QWidget* parent = nullptr);
    ~CPlayerWnd() override;

    Player& player() { return *player_; }

    // The player's operations, for the windows that hold only this one.
    bool EnsureMusicPlayer() { return player_->EnsureMusicPlayer(); }
    void PlayFile(const QString& path) { player_->PlayFile(path); }
    void PlayMusicItem(const PlayItem* item, bool wake) { player_->PlayMusicItem(item, wake); }
    void PreviewFile(const QString& path, int volume) { player_->PreviewFile(path, volume); }
    void StopPlayback() { player_->StopPlayback(); }
    void SetPaused(bool paused) { player_->SetPaused(paused); }
    void SetPlayerVolume(int volume) { player_->SetPlayerVolume(volume); }
    bool IsPlayerIdle() const { return player_->IsPlayerIdle(); }
    bool IsPlayerBusy() const { return player_->IsPlayerBusy(); }
    int GetMediaDuration() const { return player_->GetMediaDuration(); }
    int GetPlayPosition() const { return player_->GetPlayPosition(); }
    HhmmssDuration MeasureMediaLength(const QString& path) const {
        return player_->MeasureMediaLength(path);
    }
    void HandlePlaybackIdle() { player_->HandlePlaybackIdle(); }

    // Fills a voice drop-down list of a panel (see SpeechEngine::FillVoiceList).
    bool FillVoiceList(QComboBox* list, bool asEffectList);

protected:
    void timerEvent(QTimerEvent* event) override;

private:
    void buildUi();
    void start();
    // Connects the surface and the controls once the media player exists.
    void attachBackend();
    void showPosition(qint64 ms);
    void showDuration(qint64 ms);
    void showPlaybackState();
    void showSource();
    void onPlayPause();
    void onStop();

    std::unique_ptr<Player> ownedPlayer_;
    Player* player_ = nullptr;
    QtMediaBackend* attached_ = nullptr;
    int timerId_ = 0;

    QStackedWidget* screen_ = nullptr;
    QLabel* title_ = nullptr;
    QVideoWidget* video_ = nullptr;
    QWidget* controls_ = nullptr;
    QToolButton* playPause_ = nullptr;
    QToolButton* stop_ = nullptr;
    QLabel* elapsed_ = nullptr;
    QSlider* position_ = nullptr;
    QLabel* total_ = nullptr;
    QLabel* volumeIcon_ = nullptr;
    QSlider* volume_ = nullptr;
};
