#include "ui/media/playerwnd.h"

#include <QAudioOutput>
#include <QComboBox>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QMediaPlayer>
#include <QPainter>
#include <QSlider>
#include <QStackedWidget>
#include <QTimerEvent>
#include <QToolButton>
#include <QVBoxLayout>
#include <QVideoWidget>

#include <climits>
#include <cmath>

#include "media/qtmediabackend.h"
#include "media/ttschoice.h"
#include "ui/media/voicecombo.h"

namespace {

constexpr int kTickMs = 1000;

QString twoDigits(qint64 n) {
    return QString::number(n).rightJustified(2, u'0');
}

// "m:ss", or "h:mm:ss" from an hour on.
QString ClockText(qint64 ms) {
    const qint64 seconds = qMax<qint64>(0, ms / 1000);
    const qint64 h = seconds / 3600, m = seconds / 60 % 60, s = seconds % 60;
    if (h > 0)
        return QString::number(h) + u':' + twoDigits(m) + u':' + twoDigits(s);
    return QString::number(m) + u':' + twoDigits(s);
}

enum class Glyph { Play, Pause, Stop, Volume };

// Light glyphs drawn here: the style's media icons are dark and vanish on the
// dark control bar.
QIcon GlyphIcon(Glyph glyph) {
    const int size = 32;
    QIcon icon;
    for (const auto& [mode, color] : {std::pair{QIcon::Normal, QColor(230, 230, 230)},
                                      std::pair{QIcon::Disabled, QColor(100, 100, 100)}}) {
        QPixmap pixmap(size, size);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(Qt::NoPen);
        painter.setBrush(color);
        switch (glyph) {
        case Glyph::Play:
            painter.drawPolygon(QPolygonF({QPointF(9, 6), QPointF(26, 16), QPointF(9, 26)}));
            break;
        case Glyph::Pause:
            painter.drawRect(QRectF(8, 7, 6, 18));
            painter.drawRect(QRectF(18, 7, 6, 18));
            break;
        case Glyph::Stop:
            painter.drawRect(QRectF(8, 8, 16, 16));
            break;
        case Glyph::Volume:
            painter.drawPolygon(QPolygonF({QPointF(4, 12), QPointF(10, 12), QPointF(17, 5),
                                           QPointF(17, 27), QPointF(10, 20), QPointF(4, 20)}));
            painter.setBrush(Qt::NoBrush);
            painter.setPen(QPen(color, 2.5));
            painter.drawArc(QRectF(12, 9, 10, 14), -50 * 16, 100 * 16);
            painter.drawArc(QRectF(12, 4, 16, 24), -50 * 16, 100 * 16);
            break;
        }
        painter.end();
        icon.addPixmap(pixmap, mode);
    }
    return icon;
}

void PaintDark(QWidget* widget, const QColor& background) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, background);
    palette.setColor(QPalette::Base, background);
    palette.setColor(QPalette::WindowText, QColor(220, 220, 220));
    palette.setColor(QPalette::Text, QColor(220, 220, 220));
    palette.setColor(QPalette::Disabled, QPalette::WindowText, QColor(110, 110, 110));
    palette.setColor(QPalette::Disabled, QPalette::Text, QColor(110, 110, 110));
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

} // namespace

CPlayerWnd::CPlayerWnd(Player& player, QWidget* parent) : QWidget(parent), player_(&player) {
    buildUi();
    start();
}

CPlayerWnd::CPlayerWnd(const Clock& clock, const CommonSettings* settings, QWidget* parent)
    : QWidget(parent) {
    buildUi();
    // The factory hands the new player to this window, which shows it.
    ownedPlayer_ = std::make_unique<Player>(
        []() -> std::unique_ptr<MediaBackend> { return QtMediaBackend::create(); },
        CreateStationVoice(), clock, settings);
    player_ = ownedPlayer_.get();
    start();
}

CPlayerWnd::~CPlayerWnd() {
    if (timerId_)
        killTimer(timerId_);
    if (attached_) {
        attached_->mediaPlayer()->disconnect(this);
        attached_->audioOutput()->disconnect(this);
        attached_->mediaPlayer()->setVideoOutput(nullptr);
    }
    // An owned player goes before the surface it draws on.
    ownedPlayer_.reset();
}

void CPlayerWnd::buildUi() {
    setObjectName(QStringLiteral("CPlayerWnd"));
    // Black wherever nothing else draws, and all black before there is a player.
    PaintDark(this, Qt::black);

    screen_ = new QStackedWidget(this);
    screen_->setObjectName(QStringLiteral("playerScreen"));
    PaintDark(screen_, Qt::black);
    title_ = new QLabel(screen_);
    title_->setObjectName(QStringLiteral("mediaTitle"));
    title_->setAlignment(Qt::AlignCenter);
    title_->setWordWrap(true);
    PaintDark(title_, Qt::black);
    video_ = new QVideoWidget(screen_);
    video_->setObjectName(QStringLiteral("videoSurface"));
    video_->setAspectRatioMode(Qt::IgnoreAspectRatio); // stretched to the window
    PaintDark(video_, Qt::black);
    screen_->addWidget(title_);
    screen_->addWidget(video_);
    screen_->setCurrentWidget(title_);

    controls_ = new QWidget(this);
    controls_->setObjectName(QStringLiteral("playerControls"));
    PaintDark(controls_, QColor(32, 32, 32));
    auto makeButton = [this](const char* name, Glyph glyph) {
        auto* button = new QToolButton(controls_);
        button->setObjectName(QString::fromLatin1(name));
        button->setIcon(GlyphIcon(glyph));
        button->setIconSize(QSize(16, 16));
        button->setAutoRaise(true);
        return button;
    };
    playPause_ = makeButton("playPauseButton", Glyph::Play);
    playPause_->setAccessibleName(tr("播放"));
    stop_ = makeButton("stopButton", Glyph::Stop);
    stop_->setAccessibleName(tr("停止"));
    elapsed_ = new QLabel(ClockText(0), controls_);
    elapsed_->setObjectName(QStringLiteral("elapsedLabel"));
    position_ = new QSlider(Qt::Horizontal, controls_);
    position_->setObjectName(QStringLiteral("positionSlider"));
    position_->setRange(0, 0);
    position_->setAccessibleName(tr("播放进度"));
    total_ = new QLabel(ClockText(0), controls_);
    total_->setObjectName(QStringLiteral("totalLabel"));
    volumeIcon_ = new QLabel(controls_);
    volumeIcon_->setPixmap(GlyphIcon(Glyph::Volume).pixmap(16, 16));
    volume_ = new QSlider(Qt::Horizontal, controls_);
    volume_->setObjectName(QStringLiteral("volumeSlider"));
    volume_->setAccessibleName(tr("音量"));
    volume_->setRange(0, 100);
    volume_->setValue(100);
    volume_->setMaximumWidth(80);

    auto* bar = new QHBoxLayout(controls_);
    bar->setContentsMargins(4, 2, 6, 2);
    bar->setSpacing(4);
    bar->addWidget(playPause_);
    bar->addWidget(stop_);
    bar->addWidget(elapsed_);
    bar->addWidget(position_, 1);
    bar->addWidget(total_);
    bar->addSpacing(6);
    bar->addWidget(volumeIcon_);
    bar->addWidget(volume_);

    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->addWidget(screen_, 1);
    column->addWidget(controls_);

    connect(playPause_, &QToolButton::clicked, this, &CPlayerWnd::onPlayPause);
    connect(stop_, &QToolButton::clicked, this, &CPlayerWnd::onStop);
    connect(position_, &QSlider::sliderReleased, this, [this] {
        if (attached_)
            attached_->setPosition(position_->value());
    });
    connect(position_, &QSlider::actionTriggered, this, [this](int action) {
        // Clicks on the groove jump; dragging is applied on release.
        if (attached_ && action != QAbstractSlider::SliderMove)
            attached_->setPosition(position_->sliderPosition());
    });
    connect(volume_, &QSlider::valueChanged, this, [this](int value) {
        if (attached_)
            attached_->setVolume(value);
    });
}

void CPlayerWnd::start() {
    attachBackend();
    timerId_ = startTimer(kTickMs);
}

void CPlayerWnd::attachBackend() {
    if (attached_)
        return;
    attached_ = dynamic_cast<QtMediaBackend*>(player_->backend());
    controls_->setVisible(player_->backend() != nullptr);
    screen_->setVisible(player_->backend() != nullptr);
    if (!attached_)
        return;
    QMediaPlayer* media = attached_->mediaPlayer();
    media->setVideoOutput(video_);
    connect(media, &QMediaPlayer::positionChanged, this, &CPlayerWnd::showPosition);
    connect(media, &QMediaPlayer::durationChanged, this, &CPlayerWnd::showDuration);
    connect(media, &QMediaPlayer::playbackStateChanged, this, &CPlayerWnd::showPlaybackState);
    connect(media, &QMediaPlayer::mediaStatusChanged, this, &CPlayerWnd::showPlaybackState);
    connect(media, &QMediaPlayer::sourceChanged, this, &CPlayerWnd::showSource);
    connect(media, &QMediaPlayer::hasVideoChanged, this, &CPlayerWnd::showSource);
    connect(attached_->audioOutput(), &QAudioOutput::volumeChanged, this, [this](float volume) {
        const QSignalBlocker blocker(volume_);
        volume_->setValue(int(std::lround(volume * 100.0f)));
    });
    {
        const QSignalBlocker blocker(volume_);
        volume_->setValue(attached_->volume());
    }
    showSource();
    showDuration(media->duration());
    showPosition(media->position());
    showPlaybackState();
}

void CPlayerWnd::showPosition(qint64 ms) {
    elapsed_->setText(ClockText(ms));
    if (!position_->isSliderDown())
        position_->setValue(int(qMin<qint64>(ms, position_->maximum())));
}

void CPlayerWnd::showDuration(qint64 ms) {
    total_->setText(ClockText(ms));
    position_->setRange(0, int(qMin<qint64>(ms, INT_MAX)));
    position_->setEnabled(ms > 0);
}

void CPlayerWnd::showPlaybackState() {
    const bool loaded = attached_ && !attached_->mediaPlayer()->source().isEmpty();
    const bool playing = attached_ && attached_->playState() != MediaBackend::PlayState::Stopped &&
                         attached_->playState() != MediaBackend::PlayState::Paused;
    playPause_->setIcon(GlyphIcon(playing ? Glyph::Pause : Glyph::Play));
    // The glyph is all the button shows; its name says the same in words.
    playPause_->setAccessibleName(playing ? tr("暂停") : tr("播放"));
    playPause_->setEnabled(loaded);
    stop_->setEnabled(loaded && attached_->playState() != MediaBackend::PlayState::Stopped);
}

void CPlayerWnd::showSource() {
    if (!attached_)
        return;
    QMediaPlayer* media = attached_->mediaPlayer();
    const QUrl source = media->source();
    title_->setText(source.isEmpty() ? QString() : QFileInfo(source.toLocalFile()).fileName());
    screen_->setCurrentWidget(media->hasVideo() ? static_cast<QWidget*>(video_) : title_);
    showPlaybackState();
}

void CPlayerWnd::onPlayPause() {
    if (!attached_ || attached_->mediaPlayer()->source().isEmpty())
        return;
    if (attached_->playState() == MediaBackend::PlayState::Playing ||
        attached_->playState() == MediaBackend::PlayState::Transitioning)
        attached_->pause();
    else
        attached_->play();
}

void CPlayerWnd::onStop() {
    if (attached_)
        attached_->stop();
}

bool CPlayerWnd::FillVoiceList(QComboBox* list, bool asEffectList) {
    if (!list)
        return false;
    return player_->speech().FillVoiceList(std::make_shared<ComboVoiceList>(list), asEffectList);
}

void CPlayerWnd::timerEvent(QTimerEvent* event) {
    if (event->timerId() != timerId_) {
        QWidget::timerEvent(event);
        return;
    }
    // A player that could not be created at first may exist by now.
    attachBackend();
}
