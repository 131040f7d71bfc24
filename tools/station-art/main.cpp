// Draws the pictures of the station's own windows:
//
//   resources/imgs/loginbk.bmp       the login window's face (414 x 303): the
//                                    labels and the two buttons that the
//                                    window itself keeps hidden
//   resources/imgs/lock_padlock.bmp  the padlock of the lock window
//   src/app/res/icon.png             the window icon (also the tray's)
//   src/app/res/switchoff.png        the switch-off button's two icons
//   src/app/res/restart.png
//   src/app/res/statusbar.png        the main window's status line, Chinese
//   src/app/res/eng/statusbar.png    and its English counterpart, which the
//                                    English resource module carries
//   resources/icons/hicolor/<n>x<n>/apps/tolvane.png
//                                    the desktop's icon of the installed
//                                    program, at the theme's usual sizes
//
// After a change here, draw them again and commit the result:
//
//     ninja -C <build> regenerate-station-art
//
// which runs  station-art <source root> . The login face and the status line
// carry text, drawn with the WenQuanYi Micro Hei face of the system
// (fonts-wqy-microhei) so that the Chinese and the English words match and
// the output does not depend on the machine's default fonts; the program
// refuses to draw without that face. Nothing else (clock, randomness) goes
// into the pictures. The login face is bilingual because the window reads it
// from the program folder whatever the language.

#include <QDir>
#include <QFile>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QtMath>

#include <cstdio>

namespace {

const QColor kTeal(0, 187, 199);
const QColor kDeepTeal(0, 120, 134);
const QColor kInk(52, 64, 72);
const QColor kMuted(128, 140, 148);
const char kFontFile[] = "/usr/share/fonts/truetype/wqy/wqy-microhei.ttc";

QString family;

QFont face(qreal pixels, bool bold = false) {
    QFont font(family);
    font.setPixelSize(qRound(pixels));
    font.setBold(bold);
    font.setHintingPreference(QFont::PreferNoHinting);
    return font;
}

// A broadcast tower with its waves, in a box of `size` centred on `centre`.
void tower(QPainter& p, const QPointF& centre, qreal size, const QColor& colour) {
    const qreal s = size / 32.0;
    p.save();
    p.translate(centre);
    p.scale(s, s);
    QPen pen(colour, 2.2);
    pen.setCapStyle(Qt::RoundCap);
    pen.setJoinStyle(Qt::RoundJoin);
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    // mast
    p.drawLine(QPointF(0, -4), QPointF(-6, 14));
    p.drawLine(QPointF(0, -4), QPointF(6, 14));
    p.drawLine(QPointF(-3.3, 6), QPointF(3.3, 6));
    p.drawLine(QPointF(-4.6, 10), QPointF(4.6, 10));
    // waves
    p.drawArc(QRectF(-7, -11, 14, 14), 30 * 16, 120 * 16);
    p.drawArc(QRectF(-12, -16, 24, 24), 35 * 16, 110 * 16);
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    p.drawEllipse(QPointF(0, -4), 2.4, 2.4);
    p.restore();
}

void padlockShape(QPainter& p, const QRectF& box, const QColor& body, const QColor& shackle) {
    const qreal w = box.width();
    const qreal h = box.height();
    QPen pen(shackle, w * 0.12);
    pen.setCapStyle(Qt::FlatCap);
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    const QRectF arc(box.left() + w * 0.24, box.top() + h * 0.06, w * 0.52, h * 0.56);
    p.drawArc(arc, 0, 180 * 16);
    p.drawLine(QPointF(arc.left(), arc.center().y()), QPointF(arc.left(), box.top() + h * 0.48));
    p.drawLine(QPointF(arc.right(), arc.center().y()), QPointF(arc.right(), box.top() + h * 0.48));

    QLinearGradient shade(box.topLeft(), box.bottomLeft());
    shade.setColorAt(0, body.lighter(125));
    shade.setColorAt(1, body.darker(115));
    QPainterPath lockBody;
    lockBody.addRoundedRect(QRectF(box.left() + w * 0.1, box.top() + h * 0.44, w * 0.8, h * 0.52),
                            w * 0.08, w * 0.08);
    QPainterPath keyhole;
    const QPointF hole(box.center().x(), box.top() + h * 0.64);
    keyhole.addEllipse(hole, w * 0.07, w * 0.07);
    keyhole.addRect(QRectF(hole.x() - w * 0.03, hole.y(), w * 0.06, h * 0.16));
    p.setPen(Qt::NoPen);
    p.setBrush(shade);
    p.drawPath(lockBody.subtracted(keyhole));
}

void drawButton(QPainter& p, const QRectF& r, const QString& chinese, const QString& english,
                bool primary) {
    QLinearGradient fill(r.topLeft(), r.bottomLeft());
    const QColor base = primary ? kTeal : QColor(150, 162, 170);
    fill.setColorAt(0, base.lighter(112));
    fill.setColorAt(1, base.darker(108));
    p.setPen(QPen(base.darker(125), 1));
    p.setBrush(fill);
    p.drawRoundedRect(r.adjusted(0.5, 0.5, -0.5, -0.5), 3, 3);
    p.setPen(Qt::white);
    const QFont zh = face(11.5, true);
    const QFont en = face(10);
    const qreal zhWidth = QFontMetricsF(zh).horizontalAdvance(chinese);
    const qreal gap = 4;
    const qreal total = zhWidth + gap + QFontMetricsF(en).horizontalAdvance(english);
    const qreal x = r.center().x() - total / 2;
    p.setFont(zh);
    p.drawText(QRectF(x, r.top(), zhWidth + 1, r.height()), Qt::AlignVCenter | Qt::AlignLeft,
               chinese);
    p.setFont(en);
    p.drawText(QRectF(x + zhWidth + gap, r.top(), r.width(), r.height()),
               Qt::AlignVCenter | Qt::AlignLeft, english);
}

void drawLabel(QPainter& p, qreal right, qreal editTop, const QString& chinese,
               const QString& english) {
    p.setPen(kInk);
    p.setFont(face(12.5, true));
    p.drawText(QRectF(right - 90, editTop - 1, 90, 20), Qt::AlignRight | Qt::AlignVCenter, chinese);
    p.setPen(kMuted);
    p.setFont(face(9.5));
    p.drawText(QRectF(right - 90, editTop + 18, 90, 13), Qt::AlignRight | Qt::AlignVCenter,
               english);
}

// The edits sit at (204, 108) and (204, 147), 158 x 18; the buttons at
// (201, 201) and (292, 201), 75 x 20; the prompt and the icon above the
// edits at (186, 58) to (404, 98), on white. Those places are fixed by the
// window, so the picture leaves them as they are meant to be seen.
QImage loginFace() {
    QImage img(414, 303, QImage::Format_RGB32);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.fillRect(img.rect(), Qt::white);

    // The band on the left: the station's colour, the tower and the name.
    const QRectF band(0, 0, 118, 303);
    QLinearGradient bandFill(band.topLeft(), band.bottomRight());
    bandFill.setColorAt(0, kTeal.lighter(108));
    bandFill.setColorAt(1, kDeepTeal);
    p.fillRect(band, bandFill);
    // soft rings behind the tower, as a signal spreading out
    p.setBrush(Qt::NoBrush);
    for (int i = 1; i <= 4; ++i) {
        QColor ring(255, 255, 255, 34 - i * 6);
        p.setPen(QPen(ring, 2));
        p.drawEllipse(QPointF(59, 104), 26.0 + i * 18, 26.0 + i * 18);
    }
    tower(p, QPointF(59, 104), 62, Qt::white);
    p.setPen(Qt::white);
    p.setFont(face(19, true));
    p.drawText(QRectF(0, 156, 118, 26), Qt::AlignCenter, QStringLiteral("Tolvane"));
    p.setFont(face(13));
    p.drawText(QRectF(0, 182, 118, 20), Qt::AlignCenter, QStringLiteral(u"广播站"));
    p.setFont(face(9.5));
    p.setPen(QColor(255, 255, 255, 200));
    p.drawText(QRectF(0, 201, 118, 16), Qt::AlignCenter, QStringLiteral("Broadcasting Station"));
    p.setFont(face(9));
    p.drawText(QRectF(0, 276, 118, 16), Qt::AlignCenter, QStringLiteral("V1.1.2"));

    // The form: a title, a thin rule, labels, edit frames and buttons.
    p.setPen(kInk);
    p.setFont(face(16, true));
    p.drawText(QRectF(136, 18, 260, 24), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral(u"用户登录"));
    p.setPen(kMuted);
    p.setFont(face(11));
    p.drawText(QRectF(212, 18, 180, 24), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("User Login"));
    p.setPen(QPen(kTeal, 2));
    p.drawLine(QPointF(136, 48), QPointF(396, 48));

    drawLabel(p, 196, 108, QStringLiteral(u"登录名："), QStringLiteral("Login name"));
    drawLabel(p, 196, 147, QStringLiteral(u"密　码："), QStringLiteral("Password"));
    p.setPen(QPen(QColor(188, 200, 206), 1));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(202.5, 106.5, 161, 21));
    p.drawRect(QRectF(202.5, 145.5, 161, 21));

    drawButton(p, QRectF(201, 201, 75, 20), QStringLiteral(u"登录"), QStringLiteral("Log in"),
               true);
    drawButton(p, QRectF(292, 201, 75, 20), QStringLiteral(u"取消"), QStringLiteral("Cancel"),
               false);

    p.setPen(QPen(QColor(226, 232, 235), 1));
    p.drawLine(QPointF(136, 248), QPointF(396, 248));
    p.setPen(kMuted);
    p.setFont(face(9.5));
    p.drawText(QRectF(136, 254, 260, 16), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral(u"回车键登录，Esc 键取消"));
    p.drawText(QRectF(136, 270, 260, 16), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("Enter logs in, Esc cancels"));
    return img;
}

QImage lockPadlock() {
    QImage img(56, 56, QImage::Format_RGB32);
    img.fill(Qt::white);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    padlockShape(p, QRectF(6, 3, 44, 50), QColor(214, 160, 28), QColor(128, 136, 142));
    return img;
}

QImage windowIcon(int size) {
    QImage img(size, size, QImage::Format_ARGB32);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF box(size * 0.03, size * 0.03, size * 0.94, size * 0.94);
    QLinearGradient fill(box.topLeft(), box.bottomRight());
    fill.setColorAt(0, kTeal.lighter(110));
    fill.setColorAt(1, kDeepTeal);
    p.setPen(Qt::NoPen);
    p.setBrush(fill);
    p.drawRoundedRect(box, size * 0.2, size * 0.2);
    tower(p, QPointF(size / 2.0, size * 0.54), size * 0.78, Qt::white);
    return img;
}

void powerGlyph(QPainter& p, qreal size, const QColor& colour, bool restart) {
    QPen pen(colour, size * 0.13);
    pen.setCapStyle(Qt::RoundCap);
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    const QRectF ring(size * 0.18, size * 0.2, size * 0.64, size * 0.64);
    if (restart) {
        // an open circle with an arrow head: switch on again
        p.drawArc(ring, 60 * 16, 300 * 16);
        const QPointF tip(ring.center().x() + ring.width() / 2 * qCos(qDegreesToRadians(60.0)),
                          ring.center().y() - ring.height() / 2 * qSin(qDegreesToRadians(60.0)));
        p.setPen(Qt::NoPen);
        p.setBrush(colour);
        QPolygonF head;
        head << tip + QPointF(size * 0.16, -size * 0.02) << tip + QPointF(-size * 0.06, -size * 0.2)
             << tip + QPointF(-size * 0.04, size * 0.16);
        p.drawPolygon(head);
    } else {
        p.drawArc(ring, 120 * 16, 300 * 16);
        p.drawLine(QPointF(size / 2, size * 0.1), QPointF(size / 2, size * 0.5));
    }
}

QImage buttonIcon(bool restart) {
    const int size = 16;
    QImage img(size, size, QImage::Format_ARGB32);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    powerGlyph(p, size, restart ? QColor(30, 150, 60) : QColor(200, 40, 40), restart);
    return img;
}

// Drawn 1:1 over the status line of the main window (1240 x 22); the name
// of the station sits at the right end, where the status text never runs.
QImage statusLine(bool english) {
    QImage img(1240, 22, QImage::Format_RGB32);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient fill(0, 0, 0, 22);
    fill.setColorAt(0, kDeepTeal.lighter(112));
    fill.setColorAt(1, kDeepTeal.darker(110));
    p.fillRect(img.rect(), fill);
    p.setPen(QColor(255, 255, 255, 60));
    p.drawLine(0, 0, 1240, 0);
    tower(p, QPointF(1080, 11), 16, QColor(255, 255, 255, 170));
    p.setPen(QColor(255, 255, 255, 170));
    p.setFont(face(11));
    p.drawText(QRectF(1092, 0, 140, 22), Qt::AlignLeft | Qt::AlignVCenter,
               english ? QStringLiteral("Tolvane Broadcasting")
                       : QStringLiteral(u"Tolvane 广播站"));
    return img;
}

bool save(const QImage& img, const QString& path, const char* format) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    if (!img.save(path, format)) {
        std::fprintf(stderr, "station-art: cannot write %s\n", qPrintable(path));
        return false;
    }
    std::printf("%s\n", qPrintable(path));
    return true;
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: station-art <source root>\n");
        return 2;
    }
    const int id = QFontDatabase::addApplicationFont(QString::fromLatin1(kFontFile));
    if (id < 0 || QFontDatabase::applicationFontFamilies(id).isEmpty()) {
        std::fprintf(stderr, "station-art: the face %s is missing (fonts-wqy-microhei)\n",
                     kFontFile);
        return 1;
    }
    family = QFontDatabase::applicationFontFamilies(id).first();

    const QString root = QString::fromLocal8Bit(argv[1]);
    const QString imgs = root + QStringLiteral("/resources/imgs/");
    const QString res = root + QStringLiteral("/src/app/res/");
    bool ok = save(loginFace(), imgs + QStringLiteral("loginbk.bmp"), "BMP");
    ok = save(lockPadlock(), imgs + QStringLiteral("lock_padlock.bmp"), "BMP") && ok;
    ok = save(windowIcon(64), res + QStringLiteral("icon.png"), "PNG") && ok;
    ok = save(windowIcon(16), res + QStringLiteral("icon16.png"), "PNG") && ok;
    ok = save(buttonIcon(false), res + QStringLiteral("switchoff.png"), "PNG") && ok;
    ok = save(buttonIcon(true), res + QStringLiteral("restart.png"), "PNG") && ok;
    ok = save(statusLine(false), res + QStringLiteral("statusbar.png"), "PNG") && ok;
    ok = save(statusLine(true), res + QStringLiteral("eng/statusbar.png"), "PNG") && ok;
    for (const int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
        const QString n = QString::number(size);
        const QString folder = root + QStringLiteral("/resources/icons/hicolor/") + n + u'x' + n +
                               QStringLiteral("/apps/");
        ok = QDir().mkpath(folder) &&
             save(windowIcon(size), folder + QStringLiteral("tolvane.png"), "PNG") && ok;
    }
    return ok ? 0 : 1;
}
