// Paints the main window's skinned buttons and tab rows with the pictures of
// a program folder into a PNG, so a skin can be judged before it is
// committed. Runs without a display:
//
//     QT_QPA_PLATFORM=offscreen skin-preview /tmp/skin.png [program folder]
//         [button width] [button height] [tab row width]
//
// The program folder defaults to the build's own; the sizes default to those
// the pictures are drawn for (other sizes show the pictures stretched). The top row shows every
// button as it starts (the switch-off button disabled) with the pause button
// held down; below it the music and speech tabs, in Chinese and in English,
// with the second tab selected.

#include <QApplication>
#include <QPainter>
#include <QVBoxLayout>

#include <cstdio>

#include "controls/mybutton.h"
#include "controls/mytabctrl.h"
#include "controls/skin.h"
#include "support/apppaths.h"

namespace {

class Backdrop : public QWidget {
public:
    using QWidget::QWidget;

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.fillRect(rect(), SkinBackgroundColor());
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(238, 238, 238));
        p.drawRoundedRect(QRectF(6, 44, width() - 12, height() - 50), 4.5, 4.5);
    }
};

int tabRowWidth = 460;

CMyTabCtrl* tabRow(QWidget* parent, int id, const QString& skin, const QStringList& texts,
                   const QPoint& at) {
    auto* tabs = new CMyTabCtrl(id, skin, parent);
    for (const QString& text : texts)
        tabs->addTab(text);
    tabs->setItemSize(QSize(tabRowWidth / int(texts.size()) - 1, 30));
    tabs->setCurrentIndex(1);
    tabs->move(at);
    tabs->resize(tabRowWidth, 30 + CMyTabCtrl::kTopMargin);
    return tabs;
}

} // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 2 || args.size() > 6) {
        std::fprintf(stderr, "usage: skin-preview <out.png> [program folder] [button width] "
                             "[button height] [tab row width]\n");
        return 2;
    }
    SetAppFolderForTests(args.size() > 2 ? args[2] : QStringLiteral(TOLVANE_BIN_DIR));
    const int buttonWidth = args.size() > 3 ? args[3].toInt() : 100;
    const int buttonHeight = args.size() > 4 ? args[4].toInt() : 30;
    if (args.size() > 5)
        tabRowWidth = args[5].toInt();
    if (buttonWidth <= 0 || buttonHeight <= 0 || tabRowWidth <= 0) {
        std::fprintf(stderr, "skin-preview: sizes must be positive\n");
        return 2;
    }

    Backdrop window;
    window.resize(qMax(6 + 7 * (buttonWidth + 6) + 6, tabRowWidth + 28), 230);

    const struct {
        int id;
        const char* caption;
    } buttons[] = {{1109, "连接设备"}, {1107, "关机"}, {1110, "暂停播音"}, {1007, "系统设置"},
                   {1006, "用户管理"}, {1106, "锁定"}, {1108, "关于"}};
    int x = 8;
    for (const auto& b : buttons) {
        auto* button = new CMyButton(b.id, QString::fromUtf8(b.caption), &window);
        button->setGeometry(x, 7, buttonWidth, buttonHeight);
        if (b.id == 1107)
            button->setEnabled(false);
        if (b.id == 1110)
            button->setDown(true);
        x += buttonWidth + 6;
    }

    tabRow(&window, 1014, QStringLiteral("tab1"),
           {QStringLiteral("今日曲目"), QStringLiteral("曲目任务"), QStringLiteral("歌库")},
           QPoint(14, 52));
    tabRow(&window, 1015, QStringLiteral("tab2"),
           {QStringLiteral("即时播音"), QStringLiteral("播音任务"), QStringLiteral("播音文稿"),
            QStringLiteral("播音效果")},
           QPoint(14, 92));
    tabRow(&window, 1014, QStringLiteral("tab1"),
           {QStringLiteral("Today's Music"), QStringLiteral("Music Tasks"),
            QStringLiteral("Music Library")},
           QPoint(14, 142));
    tabRow(&window, 1015, QStringLiteral("tab2"),
           {QStringLiteral("Instant Speech"), QStringLiteral("Speech Tasks"),
            QStringLiteral("Scripts"), QStringLiteral("Voices and Music")},
           QPoint(14, 182));

    window.show();
    const QPixmap shot = window.grab();
    if (!shot.save(args[1], "PNG")) {
        std::fprintf(stderr, "skin-preview: cannot write %s\n", qPrintable(args[1]));
        return 1;
    }
    return 0;
}
