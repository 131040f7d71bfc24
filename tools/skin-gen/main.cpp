// Draws the station's skin pictures: the seven command buttons of the main
// window in their three states and the two tab rows, selected and not.
//
// The pictures in resources/imgs are the output of this program; after a
// change here, draw them again and commit the result:
//
//     ninja -C <build> regenerate-skins
//
// which runs  skin-gen <source>/resources/imgs . The output depends only on
// this file and the Qt version (no fonts, no clock, no randomness), so the
// same build gives the same bytes. Sizes can be changed on the command line
// (see --help) when the main window's layout changes; a picture of exactly
// the control's size is copied, any other is stretched.
//
// The pictures carry no text (the controls draw their captions). Buttons
// keep a symbol in the left part of the face, which the caption leaves
// free; tabs keep a symbol in their left 25 pixels for the same reason.

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QtMath>

#include <cstdio>
#include <functional>

namespace {

// The main window's colours.
const QColor kWindow(0, 187, 199);
const QColor kPanel(238, 238, 238);

using Glyph = std::function<void(QPainter&, const QPen&, const QColor&)>;

struct Look {
    QColor top;
    QColor bottom;
    QColor border;
    QColor highlight; // the light line under the top edge
    QColor glyph;
};

// --- symbols, drawn in a 16 x 16 box centred on the origin -----------------

QPen glyphPen(const QColor& colour) {
    QPen pen(colour, 1.6);
    pen.setCapStyle(Qt::RoundCap);
    pen.setJoinStyle(Qt::RoundJoin);
    return pen;
}

void plug(QPainter& p, const QPen& pen, const QColor& fill) {
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    // prongs, body, cable
    p.drawLine(QPointF(-3, -7), QPointF(-3, -3.5));
    p.drawLine(QPointF(3, -7), QPointF(3, -3.5));
    QPainterPath body;
    body.moveTo(-6, -3.5);
    body.lineTo(6, -3.5);
    body.lineTo(6, 0);
    body.quadTo(6, 4, 0, 4);
    body.quadTo(-6, 4, -6, 0);
    body.closeSubpath();
    p.setBrush(fill);
    p.drawPath(body);
    p.setBrush(Qt::NoBrush);
    p.drawLine(QPointF(0, 4), QPointF(0, 7.5));
}

void power(QPainter& p, const QPen& pen, const QColor&) {
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(-6.5, -5.5, 13, 13), 120 * 16, 300 * 16);
    p.drawLine(QPointF(0, -7.5), QPointF(0, 0));
}

void pauseBars(QPainter& p, const QPen& pen, const QColor& fill) {
    p.setPen(Qt::NoPen);
    p.setBrush(fill.isValid() ? fill : pen.color());
    p.drawRoundedRect(QRectF(-5, -6.5, 3.6, 13), 1, 1);
    p.drawRoundedRect(QRectF(1.4, -6.5, 3.6, 13), 1, 1);
}

void gear(QPainter& p, const QPen& pen, const QColor& fill) {
    QPainterPath teeth;
    const int count = 8;
    for (int i = 0; i < count; ++i) {
        const qreal a = i * 2 * M_PI / count;
        QTransform t;
        t.rotateRadians(a);
        teeth.addPolygon(t.map(QPolygonF(QRectF(-1.6, -7.6, 3.2, 4))));
        teeth.closeSubpath();
    }
    QPainterPath ring;
    ring.addEllipse(QPointF(0, 0), 5.4, 5.4);
    QPainterPath hole;
    hole.addEllipse(QPointF(0, 0), 2.2, 2.2);
    QPainterPath shape = (ring.united(teeth)).subtracted(hole);
    p.setPen(Qt::NoPen);
    p.setBrush(fill.isValid() ? fill : pen.color());
    p.drawPath(shape);
}

void person(QPainter& p, const QPen& pen, const QColor& fill) {
    p.setPen(Qt::NoPen);
    p.setBrush(fill.isValid() ? fill : pen.color());
    p.drawEllipse(QPointF(0, -3.6), 3.3, 3.3);
    QPainterPath shoulders;
    shoulders.moveTo(-6.5, 7.5);
    shoulders.cubicTo(-6.5, 1, 6.5, 1, 6.5, 7.5);
    shoulders.closeSubpath();
    p.drawPath(shoulders);
}

void padlock(QPainter& p, const QPen& pen, const QColor& fill) {
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(-3.8, -7.5, 7.6, 8), 0, 180 * 16);
    p.drawLine(QPointF(-3.8, -3.5), QPointF(-3.8, -1));
    p.drawLine(QPointF(3.8, -3.5), QPointF(3.8, -1));
    p.setPen(Qt::NoPen);
    p.setBrush(fill.isValid() ? fill : pen.color());
    QPainterPath body;
    body.addRoundedRect(QRectF(-6, -1.5, 12, 9), 1.5, 1.5);
    QPainterPath keyhole;
    keyhole.addEllipse(QPointF(0, 2.2), 1.3, 1.3);
    keyhole.addRect(QRectF(-0.6, 2.2, 1.2, 3));
    p.drawPath(body.subtracted(keyhole));
}

void info(QPainter& p, const QPen& pen, const QColor& fill) {
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QPointF(0, 0), 7, 7);
    p.setPen(Qt::NoPen);
    p.setBrush(fill.isValid() ? fill : pen.color());
    p.drawEllipse(QPointF(0, -3.6), 1.2, 1.2);
    p.drawRoundedRect(QRectF(-1, -1.2, 2, 6.2), 0.8, 0.8);
}

// tab symbols
void clockFace(QPainter& p, const QPen& pen, const QColor&) {
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QPointF(0, 0), 6.8, 6.8);
    p.drawLine(QPointF(0, 0), QPointF(0, -4.2));
    p.drawLine(QPointF(0, 0), QPointF(3.2, 1.8));
}

void playList(QPainter& p, const QPen& pen, const QColor& fill) {
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    p.drawLine(QPointF(-7, -5), QPointF(3, -5));
    p.drawLine(QPointF(-7, -1), QPointF(1, -1));
    p.drawLine(QPointF(-7, 3), QPointF(-2, 3));
    p.setPen(Qt::NoPen);
    p.setBrush(fill.isValid() ? fill : pen.color());
    QPolygonF triangle;
    triangle << QPointF(1, 1.5) << QPointF(1, 8) << QPointF(7, 4.75);
    p.drawPolygon(triangle);
}

void musicNote(QPainter& p, const QPen& pen, const QColor& fill) {
    p.setPen(pen);
    p.drawLine(QPointF(-2, 4.5), QPointF(-2, -6.5));
    p.drawLine(QPointF(5, 3), QPointF(5, -8));
    p.setPen(Qt::NoPen);
    p.setBrush(fill.isValid() ? fill : pen.color());
    QPolygonF beam;
    beam << QPointF(-2.8, -6.8) << QPointF(5.8, -8.8) << QPointF(5.8, -5.8) << QPointF(-2.8, -3.8);
    p.drawPolygon(beam);
    p.drawEllipse(QPointF(-4.4, 4.8), 2.6, 2.1);
    p.drawEllipse(QPointF(2.6, 3.3), 2.6, 2.1);
}

void speechBubble(QPainter& p, const QPen& pen, const QColor& fill) {
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    QPainterPath bubble;
    bubble.addRoundedRect(QRectF(-7, -6.5, 14, 10), 3, 3);
    QPainterPath tail;
    tail.moveTo(-3, 3);
    tail.lineTo(-4.5, 7.5);
    tail.lineTo(1, 3);
    p.drawPath(bubble.united(tail));
    p.setPen(Qt::NoPen);
    p.setBrush(fill.isValid() ? fill : pen.color());
    for (int i = -1; i <= 1; ++i)
        p.drawEllipse(QPointF(i * 3.2, -1.5), 1.1, 1.1);
}

void script(QPainter& p, const QPen& pen, const QColor&) {
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    QPainterPath page;
    page.moveTo(-5.5, -7.5);
    page.lineTo(2.5, -7.5);
    page.lineTo(5.5, -4.5);
    page.lineTo(5.5, 7.5);
    page.lineTo(-5.5, 7.5);
    page.closeSubpath();
    p.drawPath(page);
    p.drawLine(QPointF(-3, -3), QPointF(2, -3));
    p.drawLine(QPointF(-3, 0.5), QPointF(3, 0.5));
    p.drawLine(QPointF(-3, 4), QPointF(3, 4));
}

void speaker(QPainter& p, const QPen& pen, const QColor& fill) {
    p.setPen(Qt::NoPen);
    p.setBrush(fill.isValid() ? fill : pen.color());
    QPolygonF cone;
    cone << QPointF(-7, -2.5) << QPointF(-4, -2.5) << QPointF(0, -6.5) << QPointF(0, 6.5)
         << QPointF(-4, 2.5) << QPointF(-7, 2.5);
    p.drawPolygon(cone);
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(-2.5, -3.5, 7, 7), -50 * 16, 100 * 16);
    p.drawArc(QRectF(-5, -7, 13, 14), -50 * 16, 100 * 16);
}

// --- faces -------------------------------------------------------------------

// A face with a vertical gradient, a one-pixel border and a light line under
// its top edge. `topRadius` and `bottomRadius` round the corners; what lies
// outside the face keeps the colour the image was filled with.
void drawFace(QPainter& p, const QRectF& r, const Look& look, qreal topRadius, qreal bottomRadius) {
    QPainterPath path;
    const qreal t = topRadius, b = bottomRadius;
    path.moveTo(r.left(), r.top() + t);
    path.quadTo(r.left(), r.top(), r.left() + t, r.top());
    path.lineTo(r.right() - t, r.top());
    path.quadTo(r.right(), r.top(), r.right(), r.top() + t);
    path.lineTo(r.right(), r.bottom() - b);
    path.quadTo(r.right(), r.bottom(), r.right() - b, r.bottom());
    path.lineTo(r.left() + b, r.bottom());
    path.quadTo(r.left(), r.bottom(), r.left(), r.bottom() - b);
    path.closeSubpath();

    QLinearGradient gradient(r.topLeft(), r.bottomLeft());
    gradient.setColorAt(0, look.top);
    gradient.setColorAt(1, look.bottom);
    p.setPen(QPen(look.border, 1));
    p.setBrush(gradient);
    p.drawPath(path);

    if (look.highlight.isValid()) {
        p.setPen(QPen(look.highlight, 1));
        p.drawLine(QPointF(r.left() + t, r.top() + 1), QPointF(r.right() - t, r.top() + 1));
    }
}

QImage blank(const QSize& size, const QColor& outside) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(outside);
    return image;
}

bool save(const QImage& image, const QDir& dir, const QString& name) {
    const QString path = dir.filePath(name);
    if (!image.save(path, "BMP")) {
        std::fprintf(stderr, "skin-gen: cannot write %s\n", qPrintable(path));
        return false;
    }
    std::printf("%s\n", qPrintable(path));
    return true;
}

// --- buttons -----------------------------------------------------------------

QImage button(const QSize& size, int state, const Glyph& glyph) {
    static const Look looks[3] = {
        // normal: a deeper teal than the window, so the white caption reads well
        {QColor(22, 160, 172), QColor(0, 121, 133), QColor(0, 98, 108), QColor(120, 214, 222),
         Qt::white},
        // pressed: darker, lit from below
        {QColor(0, 96, 106), QColor(0, 128, 140), QColor(0, 78, 86), QColor(), Qt::white},
        // disabled: washed out, flat; the caption is drawn embossed on it
        {QColor(154, 184, 187), QColor(140, 170, 173), QColor(120, 148, 151), QColor(176, 202, 205),
         QColor(196, 214, 216)},
    };
    const Look& look = looks[state];
    QImage image = blank(size, kWindow);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    drawFace(p, QRectF(0.5, 0.5, size.width() - 1, size.height() - 1), look, 4, 4);

    // The caption starts half the height in from the left; the symbol sits
    // just before it, centred on that line.
    const qreal shift = state == 1 ? 1 : 0;
    p.translate(size.height() / 2.0 - 1 + shift, size.height() / 2.0 + shift);
    const qreal scale = size.height() / 30.0;
    p.scale(scale, scale);
    glyph(p, glyphPen(look.glyph), look.glyph);
    p.end();
    return image;
}

// --- tabs --------------------------------------------------------------------

QImage tab(const QSize& size, bool selected, const Glyph& glyph) {
    // Unselected tabs sit lower and quieter; the selected one is taller (it
    // reaches the top of the row), deeper in colour and carries a light
    // stripe along its foot.
    const Look unselected{QColor(84, 196, 205), QColor(28, 164, 176), QColor(20, 140, 150),
                          QColor(150, 224, 230), QColor(235, 250, 251)};
    const Look active{QColor(0, 150, 163), QColor(0, 112, 125), QColor(0, 92, 103),
                      QColor(92, 200, 210), Qt::white};
    const Look& look = selected ? active : unselected;
    QImage image = blank(size, kPanel);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    // Round the top corners; the foot is square and bleeds one pixel below
    // the picture so no border line shows there.
    drawFace(p, QRectF(0.5, 0.5, size.width() - 1, size.height()), look, 5, 0);
    if (selected) {
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(255, 196, 60));
        p.drawRect(QRectF(1, size.height() - 3, size.width() - 2, 3));
    }
    p.translate(14, (size.height() - (selected ? 2 : 0)) / 2.0 + (selected ? 1 : 0));
    glyph(p, glyphPen(look.glyph), look.glyph);
    p.end();
    return image;
}

bool parseSize(const QString& text, QSize* size) {
    const QStringList parts = text.split(u'x');
    bool okW = false, okH = false;
    if (parts.size() == 2)
        *size = QSize(parts[0].toInt(&okW), parts[1].toInt(&okH));
    return okW && okH && size->width() > 0 && size->height() > 0;
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(
        "Draws the skin pictures of the main window's buttons and tabs into a folder.");
    parser.addHelpOption();
    parser.addPositionalArgument("folder", "Where the .bmp files go (created when missing).");
    QCommandLineOption buttonSize("button-size", "Button pictures, WxH.", "size", "100x30");
    QCommandLineOption musicTab("music-tab-size", "Music tabs (tab1), WxH of an unselected tab.",
                                "size", "152x30");
    QCommandLineOption speechTab("speech-tab-size", "Speech tabs (tab2), WxH of an unselected tab.",
                                 "size", "114x30");
    QCommandLineOption topMargin("tab-top-margin", "Extra height of a selected tab.", "pixels",
                                 "2");
    parser.addOptions({buttonSize, musicTab, speechTab, topMargin});
    parser.process(app);

    const QStringList args = parser.positionalArguments();
    QSize buttonPx, musicPx, speechPx;
    bool marginOk = false;
    const int margin = parser.value(topMargin).toInt(&marginOk);
    if (args.size() != 1 || !parseSize(parser.value(buttonSize), &buttonPx) ||
        !parseSize(parser.value(musicTab), &musicPx) ||
        !parseSize(parser.value(speechTab), &speechPx) || !marginOk || margin < 0)
        parser.showHelp(2);

    QDir dir(args.first());
    if (!dir.mkpath(QStringLiteral("."))) {
        std::fprintf(stderr, "skin-gen: cannot create %s\n", qPrintable(dir.path()));
        return 1;
    }

    const struct {
        int id;
        Glyph glyph;
    } buttons[] = {
        {1109, plug},      // connect / disconnect
        {1107, power},     // switch the transmitter off / on
        {1110, pauseBars}, // pause / continue broadcasting
        {1007, gear},      // system settings
        {1006, person},    // user management
        {1106, padlock},   // lock
        {1108, info},      // about
    };
    bool ok = true;
    for (const auto& b : buttons) {
        for (int state = 0; state < 3; ++state)
            ok &= save(
                button(buttonPx, state, b.glyph), dir,
                QStringLiteral("btn_%1_%2.bmp").arg(QString::number(b.id), QString::number(state)));
    }

    const Glyph musicGlyphs[] = {clockFace, playList, musicNote};
    const Glyph speechGlyphs[] = {speechBubble, clockFace, script, speaker};
    auto tabs = [&](const QString& skin, const Glyph* glyphs, int count, const QSize& size) {
        for (int i = 0; i < count; ++i) {
            ok &= save(tab(size, false, glyphs[i]), dir,
                       QStringLiteral("%1_%2_0.bmp").arg(skin, QString::number(i)));
            ok &= save(tab(QSize(size.width(), size.height() + margin), true, glyphs[i]), dir,
                       QStringLiteral("%1_%2_1.bmp").arg(skin, QString::number(i)));
        }
    };
    tabs(QStringLiteral("tab1"), musicGlyphs, 3, musicPx);
    tabs(QStringLiteral("tab2"), speechGlyphs, 4, speechPx);
    return ok ? 0 : 1;
}
