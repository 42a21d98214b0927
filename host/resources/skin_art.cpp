#include "skin_art.h"

#include <QFont>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QtMath>
#include <array>

#include "picture_ids.h"

namespace {

// --- colours ---------------------------------------------------------------
const QColor kBodyTop(0x2e, 0x30, 0x35);
const QColor kBodyBottom(0x1a, 0x1b, 0x1e);
const QColor kLabel(0xdc, 0xde, 0xe1);
const QColor kLabelDim(0x8f, 0x93, 0x9a);
const QColor kAccent(0xff, 0x8a, 0x1e);
const QColor kLedLit(0xff, 0x78, 0x14);
const QColor kLedHot(0xff, 0xc2, 0x70);
const QColor kLcdInk(0x1a, 0x2b, 0x12);

// --- small helpers ---------------------------------------------------------

QImage NewImage(int w, int h) {
    QImage image(w, h, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    return image;
}

QFont LabelFont(int pixel_size, bool bold = true, qreal spacing = 0) {
    QFont font;
    font.setFamilies({"DejaVu Sans", "Liberation Sans", "Arial", "Helvetica"});
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(pixel_size);
    font.setBold(bold);
    if (spacing != 0) font.setLetterSpacing(QFont::AbsoluteSpacing, spacing);
    return font;
}

void Text(QPainter& p, const QRectF& box, const QString& text, const QFont& font, const QColor& colour,
          int align = Qt::AlignCenter) {
    p.setFont(font);
    p.setPen(colour);
    p.drawText(box, align, text);
}

// A soft halo: blurs an alpha mask by repeated box filtering, so lit
// segments and lamps appear to glow into their surroundings.
QImage Blurred(const QImage& source, int radius, int passes = 3) {
    QImage img = source.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    const int w = img.width(), h = img.height();
    QImage tmp(w, h, QImage::Format_ARGB32_Premultiplied);
    for (int pass = 0; pass < passes; ++pass) {
        for (int dir = 0; dir < 2; ++dir) {
            const QImage& in = img;
            for (int y = 0; y < h; ++y) {
                for (int x = 0; x < w; ++x) {
                    int sum[4] = {0, 0, 0, 0};
                    for (int k = -radius; k <= radius; ++k) {
                        const int xx = dir == 0 ? x + k : x;
                        const int yy = dir == 0 ? y : y + k;
                        if (xx < 0 || yy < 0 || xx >= w || yy >= h) continue;
                        const QRgb c = reinterpret_cast<const QRgb*>(in.constScanLine(yy))[xx];
                        sum[0] += qRed(c);
                        sum[1] += qGreen(c);
                        sum[2] += qBlue(c);
                        sum[3] += qAlpha(c);
                    }
                    const int span = 2 * radius + 1;  // edges fade out instead of clamping
                    reinterpret_cast<QRgb*>(tmp.scanLine(y))[x] =
                        qRgba(sum[0] / span, sum[1] / span, sum[2] / span, sum[3] / span);
                }
            }
            img = tmp.copy();
        }
    }
    return img;
}

// A rounded box with a vertical gradient and a one-pixel top highlight.
void Plate(QPainter& p, const QRectF& r, qreal radius, const QColor& top, const QColor& bottom,
           const QColor& edge, int highlight_alpha) {
    QLinearGradient g(r.topLeft(), r.bottomLeft());
    g.setColorAt(0, top);
    g.setColorAt(1, bottom);
    p.setPen(QPen(edge, 1));
    p.setBrush(g);
    p.drawRoundedRect(r, radius, radius);
    if (highlight_alpha > 0) {
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(QColor(255, 255, 255, highlight_alpha), 1));
        p.drawRoundedRect(r.adjusted(1, 1, -1, -1), radius - 1, radius - 1);
    }
}

// A recessed window in the panel: a dark bevel, lighter at the bottom edge.
void Recess(QPainter& p, const QRectF& r, qreal radius) {
    QLinearGradient g(r.topLeft(), r.bottomLeft());
    g.setColorAt(0, QColor(0, 0, 0, 200));
    g.setColorAt(1, QColor(70, 72, 78, 200));
    p.setPen(Qt::NoPen);
    p.setBrush(g);
    p.drawRoundedRect(r, radius, radius);
    p.setBrush(QColor(8, 9, 11));
    p.drawRoundedRect(r.adjusted(2, 2, -2, -2), radius - 1, radius - 1);
}

void Screw(QPainter& p, QPointF c) {
    QRadialGradient g(c - QPointF(2, 2), 8);
    g.setColorAt(0, QColor(0xb8, 0xbb, 0xc0));
    g.setColorAt(1, QColor(0x4a, 0x4c, 0x50));
    p.setPen(QPen(QColor(10, 10, 12), 1));
    p.setBrush(g);
    p.drawEllipse(c, 6.5, 6.5);
    p.setPen(QPen(QColor(40, 41, 44), 1.6));
    p.drawLine(c + QPointF(-3.5, 0), c + QPointF(3.5, 0));
    p.drawLine(c + QPointF(0, -3.5), c + QPointF(0, 3.5));
}

// --- seven-segment digits --------------------------------------------------

enum Segment { kA = 1, kB = 2, kC = 4, kD = 8, kE = 16, kF = 32, kG = 64 };

constexpr std::array<int, 10> kDigitSegments = {
    kA | kB | kC | kD | kE | kF,       // 0
    kB | kC,                           // 1
    kA | kB | kG | kE | kD,            // 2
    kA | kB | kG | kC | kD,            // 3
    kF | kG | kB | kC,                 // 4
    kA | kF | kG | kC | kD,            // 5
    kA | kF | kG | kE | kD | kC,       // 6
    kA | kB | kC,                      // 7
    kA | kB | kC | kD | kE | kF | kG,  // 8
    kA | kB | kC | kD | kF | kG,       // 9
};
constexpr int kLetterCSegments = kA | kD | kE | kF;
constexpr int kLowBarSegments = kD;

// Segment outlines of a display cell 86 x 169, leaning a little to the
// right like the LED displays of appliances.
QPainterPath SegmentPath(int segment) {
    const qreal left = 17, right = 61, top = 17, bottom = 151, mid = 84;
    const qreal w = 12.5, half = w / 2, gap = 2.2;
    const qreal lean = 0.075;
    auto pt = [&](qreal x, qreal y) { return QPointF(x + (bottom - y) * lean, y); };
    QPolygonF poly;
    auto horizontal = [&](qreal y) {
        const qreal x1 = left + gap, x2 = right - gap;
        poly << pt(x1, y) << pt(x1 + half, y - half) << pt(x2 - half, y - half) << pt(x2, y) << pt(x2 - half, y + half)
             << pt(x1 + half, y + half);
    };
    auto vertical = [&](qreal x, qreal y1, qreal y2) {
        y1 += gap;
        y2 -= gap;
        poly << pt(x, y1) << pt(x + half, y1 + half) << pt(x + half, y2 - half) << pt(x, y2) << pt(x - half, y2 - half)
             << pt(x - half, y1 + half);
    };
    switch (segment) {
    case kA: horizontal(top); break;
    case kB: vertical(right, top, mid); break;
    case kC: vertical(right, mid, bottom); break;
    case kD: horizontal(bottom); break;
    case kE: vertical(left, mid, bottom); break;
    case kF: vertical(left, top, mid); break;
    case kG: horizontal(mid); break;
    default: break;
    }
    QPainterPath path;
    path.addPolygon(poly);
    path.closeSubpath();
    return path;
}

QPainterPath PointPath() {
    QPainterPath path;
    path.addEllipse(QPointF(75.5, 151), 6, 6);
    return path;
}

QPixmap DigitCell(int segments, bool point) {
    const int w = 86, h = 169;
    QImage image = NewImage(w, h);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);

    // The display glass: deep blue, a little lighter in the middle. The
    // shading runs top to bottom only, so cells side by side read as one
    // display.
    QLinearGradient bg(0, 0, 0, h);
    bg.setColorAt(0, QColor(0x06, 0x0a, 0x22));
    bg.setColorAt(0.5, QColor(0x10, 0x19, 0x40));
    bg.setColorAt(1, QColor(0x06, 0x0a, 0x22));
    p.fillRect(image.rect(), bg);

    QPainterPath lit, dark;
    for (int s = kA; s <= kG; s <<= 1) (segments & s ? lit : dark).addPath(SegmentPath(s));
    (point ? lit : dark).addPath(PointPath());

    // Unlit segments stay faintly visible, as on a real LED display.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xff, 0x70, 0x20, 26));
    p.drawPath(dark);

    if (!lit.isEmpty()) {
        QImage glow = NewImage(w, h);
        {
            QPainter g(&glow);
            g.setRenderHint(QPainter::Antialiasing);
            g.setPen(QPen(QColor(0xff, 0x66, 0x00, 230), 5));
            g.setBrush(QColor(0xff, 0x66, 0x00, 230));
            g.drawPath(lit);
        }
        p.setCompositionMode(QPainter::CompositionMode_Plus);
        p.drawImage(0, 0, Blurred(glow, 6));
        p.setCompositionMode(QPainter::CompositionMode_SourceOver);

        QLinearGradient fill(0, 0, 0, h);
        fill.setColorAt(0, QColor(0xff, 0x9a, 0x36));
        fill.setColorAt(0.5, kLedLit);
        fill.setColorAt(1, QColor(0xff, 0x8c, 0x28));
        p.setBrush(fill);
        p.setPen(QPen(QColor(0xff, 0xb0, 0x60, 200), 0.8));
        p.drawPath(lit);
        // A hot core line through each lit segment.
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(QColor(kLedHot.red(), kLedHot.green(), kLedHot.blue(), 90), 3));
        p.drawPath(lit);
    }

    // Glass sheen over the upper half.
    QLinearGradient sheen(0, 0, 0, h * 0.5);
    sheen.setColorAt(0, QColor(255, 255, 255, 22));
    sheen.setColorAt(1, QColor(255, 255, 255, 0));
    p.fillRect(QRectF(0, 0, w, h * 0.5), sheen);
    p.end();
    return QPixmap::fromImage(image);
}

// --- lamps -----------------------------------------------------------------

QPixmap Lamp(int w, int h, const QColor& lit_colour, bool lit) {
    QImage image = NewImage(w, h);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const QPointF c(w / 2.0, h / 2.0);
    const qreal r = std::min(w, h) / 2.0 - 0.5;

    // Chrome bezel.
    QLinearGradient ring(0, 0, 0, h);
    ring.setColorAt(0, QColor(0x9a, 0x9d, 0xa3));
    ring.setColorAt(0.5, QColor(0x3a, 0x3c, 0x40));
    ring.setColorAt(1, QColor(0x7a, 0x7d, 0x83));
    p.setPen(QPen(QColor(0, 0, 0), 0.8));
    p.setBrush(ring);
    p.drawEllipse(c, r, r);

    const qreal lens = r - 2.6;
    if (lit) {
        QRadialGradient g(c - QPointF(lens * 0.25, lens * 0.3), lens * 1.2);
        g.setColorAt(0, lit_colour.lighter(170));
        g.setColorAt(0.45, lit_colour);
        g.setColorAt(1, lit_colour.darker(170));
        p.setPen(Qt::NoPen);
        p.setBrush(g);
        p.drawEllipse(c, lens, lens);
        // The glow spills onto the bezel.
        QRadialGradient halo(c, r);
        QColor inner = lit_colour;
        inner.setAlpha(0);
        QColor mid = lit_colour.lighter(130);
        mid.setAlpha(150);
        QColor outer = lit_colour;
        outer.setAlpha(0);
        halo.setColorAt(0, inner);
        halo.setColorAt(lens / r, mid);
        halo.setColorAt(1, outer);
        p.setBrush(halo);
        p.drawEllipse(c, r, r);
    } else {
        QRadialGradient g(c - QPointF(lens * 0.3, lens * 0.35), lens * 1.3);
        g.setColorAt(0, QColor(0x3a, 0x3a, 0x3a));
        g.setColorAt(1, QColor(0x06, 0x06, 0x06));
        p.setPen(Qt::NoPen);
        p.setBrush(g);
        p.drawEllipse(c, lens, lens);
    }
    // The light caught on the lens.
    p.setBrush(QColor(255, 255, 255, lit ? 170 : 60));
    p.drawEllipse(QRectF(c.x() - lens * 0.55, c.y() - lens * 0.7, lens * 0.7, lens * 0.45));
    p.end();
    return QPixmap::fromImage(image);
}

// --- temperature faces and the SELECT plate --------------------------------

QPixmap TemperatureFace(bool celsius) {
    const int w = 200, h = 57;
    QImage image = NewImage(w, h);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x0c, 0x0d, 0x0f));
    p.drawRoundedRect(QRectF(0, 0, w, h), 7, 7);

    // Backlit LCD glass.
    const QRectF lcd(4, 4, w - 8, h - 8);
    QLinearGradient g(lcd.topLeft(), lcd.bottomLeft());
    g.setColorAt(0, QColor(0xc4, 0xec, 0xa8));
    g.setColorAt(1, QColor(0x8d, 0xd0, 0x70));
    p.setBrush(g);
    p.drawRoundedRect(lcd, 4, 4);
    QLinearGradient shade(lcd.topLeft(), lcd.topLeft() + QPointF(0, 8));
    shade.setColorAt(0, QColor(0, 40, 0, 70));
    shade.setColorAt(1, QColor(0, 40, 0, 0));
    p.setBrush(shade);
    p.drawRoundedRect(lcd, 4, 4);

    // Thermometer glyph left of the reading.
    p.setPen(QPen(kLcdInk, 2.2));
    p.setBrush(Qt::NoBrush);
    QPainterPath tube;
    tube.addRoundedRect(QRectF(17, 12, 9, 25), 4.5, 4.5);
    p.drawPath(tube);
    p.setBrush(kLcdInk);
    p.drawEllipse(QPointF(21.5, 40), 6.5, 6.5);
    p.setPen(Qt::NoPen);
    p.drawRect(QRectF(19.6, 22, 3.8, 16));
    p.setPen(QPen(kLcdInk, 1.4));
    for (int i = 0; i < 3; ++i) p.drawLine(QPointF(29, 16 + i * 6), QPointF(33, 16 + i * 6));

    Text(p, QRectF(140, 9, 54, 44), celsius ? QString::fromUtf8("\u00b0C") : QString::fromUtf8("\u00b0F"),
         LabelFont(26), kLcdInk, Qt::AlignCenter);
    p.end();
    return QPixmap::fromImage(image);
}

QPixmap SelectPlate() {
    const int w = 170, h = 49;
    QImage image = NewImage(w, h);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    Plate(p, QRectF(0.5, 0.5, w - 1, h - 1), 8, QColor(0xff, 0xff, 0xff), QColor(0xdc, 0xdf, 0xe3),
          QColor(0x6e, 0x72, 0x78), 0);
    // Clock face glyph.
    const QPointF c(28, h / 2.0);
    p.setPen(QPen(QColor(0x2a, 0x2c, 0x30), 2.2));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(c, 12, 12);
    p.drawLine(c, c + QPointF(0, -8));
    p.drawLine(c, c + QPointF(6, 3));
    Text(p, QRectF(46, 0, w - 54, h), "SELECT", LabelFont(21, true, 2), QColor(0x22, 0x24, 0x28));
    p.end();
    return QPixmap::fromImage(image);
}

// --- skin buttons ----------------------------------------------------------

enum class State { Up, Down, Focus, Disabled };

struct PlateStyle {
    const char* caption;
    int w, h;
    const char* label;
};

constexpr PlateStyle kPlates[] = {
    {"CREATE", 208, 41, "FILE CREATE"}, {"SELECT", 196, 41, "FILE SELECT"}, {"EDIT", 120, 43, "EDIT"},
    {"DELET", 137, 42, "DELETE"},       {"SAVE", 114, 41, "SAVE"},          {"CANCEL", 114, 42, "CANCEL"},
};

void PlateGlyph(QPainter& p, const char* caption, QPointF at, const QColor& colour) {
    p.save();
    p.translate(at);
    p.setPen(QPen(colour, 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    const QString c = caption;
    if (c == "CREATE" || c == "SELECT" || c == "SAVE") {
        // A document sheet with a folded corner.
        QPainterPath sheet;
        sheet.moveTo(-6, -8);
        sheet.lineTo(2, -8);
        sheet.lineTo(6, -4);
        sheet.lineTo(6, 8);
        sheet.lineTo(-6, 8);
        sheet.closeSubpath();
        p.drawPath(sheet);
        if (c == "CREATE") {
            p.drawLine(QPointF(0, -2), QPointF(0, 4));
            p.drawLine(QPointF(-3, 1), QPointF(3, 1));
        } else if (c == "SELECT") {
            p.drawLine(QPointF(-3, -2), QPointF(3, -2));
            p.drawLine(QPointF(-3, 1), QPointF(3, 1));
            p.drawLine(QPointF(-3, 4), QPointF(1, 4));
        } else {
            p.drawLine(QPointF(0, -3), QPointF(0, 4));
            p.drawLine(QPointF(-3, 1), QPointF(0, 4));
            p.drawLine(QPointF(3, 1), QPointF(0, 4));
        }
    } else if (c == "EDIT") {
        p.drawLine(QPointF(-6, 7), QPointF(5, -4));
        p.drawLine(QPointF(-7, 8), QPointF(-5, 3));
        p.drawLine(QPointF(-7, 8), QPointF(-2, 6));
        p.drawLine(QPointF(3, -6), QPointF(7, -2));
    } else if (c == "DELET") {
        p.drawRect(QRectF(-5, -4, 10, 12));
        p.drawLine(QPointF(-7, -5), QPointF(7, -5));
        p.drawLine(QPointF(-2, -8), QPointF(2, -8));
        p.drawLine(QPointF(-2, -1), QPointF(-2, 5));
        p.drawLine(QPointF(2, -1), QPointF(2, 5));
    } else if (c == "CANCEL") {
        p.drawEllipse(QPointF(0, 0), 7, 7);
        p.drawLine(QPointF(-3, -3), QPointF(3, 3));
        p.drawLine(QPointF(3, -3), QPointF(-3, 3));
    }
    p.restore();
}

QPixmap PlateButton(const PlateStyle& style, State state) {
    QImage image = NewImage(style.w, style.h);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF r(0.5, 0.5, style.w - 1, style.h - 1);
    const bool down = state == State::Down;
    // Drop shadow under the key.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 140));
    p.drawRoundedRect(r.adjusted(1, 2, 0, 0), 9, 9);
    const QRectF key = r.adjusted(0, 0, -1, -2).translated(0, down ? 1.5 : 0);
    if (down)
        Plate(p, key, 9, QColor(0x1f, 0x21, 0x24), QColor(0x31, 0x34, 0x39), QColor(0x05, 0x05, 0x06), 0);
    else
        Plate(p, key, 9, QColor(0x55, 0x59, 0x60), QColor(0x2b, 0x2e, 0x33), QColor(0x07, 0x08, 0x09), 70);
    if (state == State::Focus) {
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(kAccent, 2));
        p.drawRoundedRect(key.adjusted(2, 2, -2, -2), 7, 7);
    }
    const QColor ink = state == State::Disabled ? QColor(0x78, 0x7b, 0x80) : down ? kLedHot : QColor(0xf2, 0xf3, 0xf5);
    const QFont font = LabelFont(style.h >= 42 ? 16 : 15, true, 1.2);
    const QFontMetricsF fm(font);
    const qreal text_w = fm.horizontalAdvance(style.label);
    const qreal glyph_w = 22;
    const qreal x0 = key.center().x() - (text_w + glyph_w) / 2;
    PlateGlyph(p, style.caption, QPointF(x0 + 8, key.center().y()), ink);
    Text(p, QRectF(x0 + glyph_w, key.top(), text_w + 4, key.height()), style.label, font, ink,
         Qt::AlignLeft | Qt::AlignVCenter);
    p.end();
    return QPixmap::fromImage(image);
}

QPixmap ProgramButton(State state) {
    const int w = 99, h = 61;
    QImage image = NewImage(w, h);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const bool down = state == State::Down;
    const QRectF r(0.5, 0.5, w - 1, h - 1);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 140));
    p.drawRoundedRect(r.adjusted(1, 2, 0, 0), 10, 10);
    const QRectF key = r.adjusted(0, 0, -1, -2).translated(0, down ? 1.5 : 0);
    if (down)
        Plate(p, key, 10, QColor(0x5a, 0x2c, 0x06), QColor(0x8a, 0x46, 0x0c), QColor(0x10, 0x06, 0x00), 0);
    else
        Plate(p, key, 10, QColor(0xff, 0x9c, 0x3a), QColor(0xd8, 0x64, 0x08), QColor(0x3a, 0x1a, 0x00), 110);
    const QColor ink = down ? QColor(0xff, 0xd6, 0xa8) : QColor(0x1c, 0x10, 0x04);
    // A small roast curve above the word: rising, levelling, then the
    // drop into cooling.
    p.setPen(QPen(ink, 2.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    QPainterPath curve;
    const qreal base = key.top() + 24;
    const qreal x = key.left();
    curve.moveTo(x + 26, base);
    curve.cubicTo(x + 36, base - 12, x + 52, base - 15, x + 64, base - 16);
    curve.lineTo(x + 73, base - 2);
    p.drawPath(curve);
    p.setPen(QPen(ink, 1.2));
    p.drawLine(QPointF(x + 24, base + 1.5), QPointF(x + 75, base + 1.5));
    Text(p, QRectF(key.left(), key.top() + 27, key.width(), 26), "Program", LabelFont(17, true, 0.5), ink);
    p.end();
    return QPixmap::fromImage(image);
}

enum class RoundGlyph { Right, Up, Down, Power, Mode };

QPixmap RoundButton(int w, int h, RoundGlyph glyph, State state) {
    QImage image = NewImage(w, h);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const QPointF c(w / 2.0, h / 2.0);
    const qreal R = std::min(w, h) / 2.0 - 1;
    const bool down = state == State::Down;

    // Socket and metal bezel.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 150));
    p.drawEllipse(c + QPointF(0, 1.5), R, R);
    QConicalGradient metal(c, 90);
    metal.setColorAt(0.0, QColor(0xd0, 0xd3, 0xd8));
    metal.setColorAt(0.25, QColor(0x5a, 0x5d, 0x62));
    metal.setColorAt(0.5, QColor(0xa8, 0xab, 0xb1));
    metal.setColorAt(0.75, QColor(0x48, 0x4a, 0x4f));
    metal.setColorAt(1.0, QColor(0xd0, 0xd3, 0xd8));
    p.setPen(QPen(QColor(0x08, 0x08, 0x0a), 1));
    p.setBrush(metal);
    p.drawEllipse(c, R - 1.5, R - 1.5);
    if (state == State::Focus) {
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(kAccent, 2.5));
        p.drawEllipse(c, R - 3, R - 3);
    }

    // The key cap, domed; pressed it sinks and darkens.
    const qreal cap = R - 8;
    const QPointF cc = c + QPointF(0, down ? 1.5 : 0);
    QRadialGradient dome(cc - QPointF(cap * 0.3, cap * 0.45), cap * 1.5);
    if (down) {
        dome.setColorAt(0, QColor(0x2a, 0x2c, 0x30));
        dome.setColorAt(1, QColor(0x0e, 0x0f, 0x11));
    } else {
        dome.setColorAt(0, QColor(0x55, 0x59, 0x60));
        dome.setColorAt(0.6, QColor(0x2a, 0x2c, 0x31));
        dome.setColorAt(1, QColor(0x16, 0x17, 0x1a));
    }
    p.setPen(QPen(QColor(0, 0, 0), 1.2));
    p.setBrush(dome);
    p.drawEllipse(cc, cap, cap);
    if (!down) {
        QLinearGradient gloss(cc - QPointF(0, cap), cc);
        gloss.setColorAt(0, QColor(255, 255, 255, 70));
        gloss.setColorAt(1, QColor(255, 255, 255, 0));
        p.setPen(Qt::NoPen);
        p.setBrush(gloss);
        p.drawEllipse(QRectF(cc.x() - cap * 0.7, cc.y() - cap * 0.92, cap * 1.4, cap * 0.9));
    }

    QColor ink = glyph == RoundGlyph::Power ? QColor(0xff, 0x5a, 0x26) : QColor(0xf0, 0xf1, 0xf3);
    if (down) ink = kLedHot;
    if (state == State::Disabled) ink = QColor(0x70, 0x73, 0x78);

    p.save();
    p.translate(cc);
    p.setPen(Qt::NoPen);
    p.setBrush(ink);
    auto arrow = [&](qreal angle) {
        p.save();
        p.rotate(angle);
        QPainterPath a;
        a.moveTo(18, 0);
        a.lineTo(-2, -17);
        a.lineTo(-2, -7);
        a.lineTo(-17, -7);
        a.lineTo(-17, 7);
        a.lineTo(-2, 7);
        a.lineTo(-2, 17);
        a.closeSubpath();
        p.drawPath(a);
        p.restore();
    };
    switch (glyph) {
    case RoundGlyph::Right: arrow(0); break;
    case RoundGlyph::Up: arrow(-90); break;
    case RoundGlyph::Down: arrow(90); break;
    case RoundGlyph::Power: {
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(ink, 5.5, Qt::SolidLine, Qt::RoundCap));
        p.drawArc(QRectF(-17, -15, 34, 34), 120 * 16, 300 * 16);
        p.drawLine(QPointF(0, -20), QPointF(0, -2));
        break;
    }
    case RoundGlyph::Mode:
        p.setPen(ink);
        p.setFont(LabelFont(19, true, 1));
        p.drawText(QRectF(-cap, -14, 2 * cap, 28), Qt::AlignCenter, "MODE");
        break;
    }
    p.restore();
    p.end();
    return QPixmap::fromImage(image);
}

// --- the front panel -------------------------------------------------------

QPixmap FrontPanel() {
    const int w = 916, h = 722;
    QImage image = NewImage(w, h);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    image.fill(Qt::white);

    // The roaster's face: a dark moulded body with a soft edge highlight.
    const QRectF body(3, 3, w - 6, h - 6);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 60));
    p.drawRoundedRect(body.translated(0, 2), 30, 30);
    QLinearGradient g(body.topLeft(), body.bottomLeft());
    g.setColorAt(0, kBodyTop);
    g.setColorAt(1, kBodyBottom);
    p.setPen(QPen(QColor(0x0a, 0x0a, 0x0c), 1.5));
    p.setBrush(g);
    p.drawRoundedRect(body, 30, 30);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(255, 255, 255, 40), 1.2));
    p.drawRoundedRect(body.adjusted(2.5, 2.5, -2.5, -2.5), 28, 28);

    // Fine horizontal brushing on the face.
    for (int y = 8; y < h - 8; y += 3) {
        p.setPen(QPen(QColor(255, 255, 255, (y * 7) % 5 + 3), 1));
        p.drawLine(QPointF(24, y + 0.5), QPointF(w - 24, y + 0.5));
    }

    // The file keys sit in a channel along the top edge.
    Recess(p, QRectF(108, 7, 698, 51), 12);

    // Brand.
    Text(p, QRectF(36, 74, 300, 52), "KAVOLO", LabelFont(44, true, 7), QColor(0xf4, 0xf5, 0xf7),
         Qt::AlignLeft | Qt::AlignVCenter);
    p.setPen(Qt::NoPen);
    p.setBrush(kAccent);
    p.drawRoundedRect(QRectF(38, 128, 54, 4), 2, 2);
    Text(p, QRectF(100, 120, 240, 20), "QL-900  COFFEE ROASTER", LabelFont(13, true, 1.5), kLabelDim,
         Qt::AlignLeft | Qt::AlignVCenter);

    // Exhaust vent, upper right.
    for (int i = 0; i < 7; ++i) {
        const QRectF slot(592, 76 + i * 17, 290, 9);
        Recess(p, slot, 4.5);
    }

    // Temperature window bezel and the clock frame.
    Recess(p, QRectF(352, 52, 214, 69), 10);
    Recess(p, QRectF(368, 118, 184, 62), 8);
    Text(p, QRectF(352, 182, 214, 16), "DELAYED START", LabelFont(12, true, 2), kLabelDim);

    // Digit windows.
    Text(p, QRectF(59, 180, 102, 18), "FAN", LabelFont(15, true, 3), kLabel);
    Recess(p, QRectF(59, 197, 102, 185), 8);
    Text(p, QRectF(365, 214, 188, 18), "TIME  (MIN)", LabelFont(15, true, 3), kLabel);
    Recess(p, QRectF(365, 234, 188, 185), 8);

    // Heat lamps and the link lamp.
    Text(p, QRectF(606, 238, 130, 18), "HEAT", LabelFont(15, true, 3), kLabel);
    const char* heat_labels[] = {"LOW", "MID", "HIGH"};
    const int lamp_x[] = {621, 660, 698};
    for (int i = 0; i < 3; ++i) {
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0, 0, 0, 150));
        p.drawEllipse(QPointF(lamp_x[i] + 12.5, 276.5), 15, 15);
        Text(p, QRectF(lamp_x[i] - 8, 291, 41, 14), heat_labels[i], LabelFont(11, true, 1), kLabelDim);
    }
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 150));
    p.drawEllipse(QPointF(710.5, 324.5), 15, 15);
    Text(p, QRectF(612, 316, 78, 16), "USB LINK", LabelFont(11, true, 1), kLabelDim,
         Qt::AlignRight | Qt::AlignVCenter);

    // Labels of the round keys.
    struct KeyLabel {
        qreal cx, y;
        const char* text;
    };
    const KeyLabel keys[] = {
        {209, 482, "RIGHT"}, {361, 560, "UP"}, {564, 556, "DOWN"}, {716.5, 475, "MODE"}, {809, 328, "POWER"},
    };
    for (const KeyLabel& k : keys) Text(p, QRectF(k.cx - 60, k.y, 120, 18), k.text, LabelFont(13, true, 2.5), kLabel);
    Text(p, QRectF(749, 346, 120, 14), "HOLD TO STOP", LabelFont(10, true, 1.5), kLabelDim);

    // Profile name window.
    Text(p, QRectF(294, 626, 200, 18), "PROFILE", LabelFont(13, true, 2.5), kLabel, Qt::AlignLeft | Qt::AlignVCenter);
    Recess(p, QRectF(288, 643, 339, 50), 8);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawRect(QRectF(294, 648, 327, 39));

    Text(p, QRectF(36, 588, 120, 16), "STEP EDITOR", LabelFont(11, true, 1.5), kLabelDim);

    // SAVE and CANCEL sit on a raised pad.
    Recess(p, QRectF(776, 580, 126, 100), 12);

    for (QPointF s : {QPointF(24, 24), QPointF(w - 24, 24), QPointF(24, h - 24), QPointF(w - 24, h - 24)}) Screw(p, s);
    p.end();
    return QPixmap::fromImage(image);
}

QPixmap IconImage(int size) {
    QImage image = NewImage(size, size);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 64.0, size / 64.0);
    // A small roaster: a dark drum on feet with an orange window and a
    // steam curl.
    p.setPen(QPen(QColor(0x0c, 0x0c, 0x0e), 2));
    QLinearGradient body(0, 16, 0, 56);
    body.setColorAt(0, QColor(0x4a, 0x4d, 0x53));
    body.setColorAt(1, QColor(0x1c, 0x1d, 0x20));
    p.setBrush(body);
    p.drawRoundedRect(QRectF(6, 18, 52, 36), 10, 10);
    p.setBrush(QColor(0x1c, 0x1d, 0x20));
    p.drawRect(QRectF(12, 54, 8, 6));
    p.drawRect(QRectF(44, 54, 8, 6));
    QRadialGradient glow(QPointF(26, 36), 14);
    glow.setColorAt(0, QColor(0xff, 0xc0, 0x60));
    glow.setColorAt(1, QColor(0xd8, 0x5a, 0x00));
    p.setBrush(glow);
    p.drawEllipse(QPointF(26, 36), 11, 11);
    p.setBrush(QColor(0x5a, 0x2c, 0x0a));
    p.setPen(Qt::NoPen);
    p.drawEllipse(QRectF(21, 31, 6, 9));
    p.drawEllipse(QRectF(27, 34, 6, 8));
    p.setBrush(QColor(0x6c, 0xe0, 0x4a));
    p.drawEllipse(QPointF(48, 28), 3, 3);
    p.setPen(QPen(QColor(0xb0, 0xb4, 0xba), 2.5, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    QPainterPath steam;
    steam.moveTo(30, 14);
    steam.cubicTo(26, 10, 34, 7, 30, 2);
    p.drawPath(steam);
    p.end();
    return QPixmap::fromImage(image);
}

const char kStateLetters[] = {'U', 'D', 'F', 'X'};
constexpr State kStates[] = {State::Up, State::Down, State::Focus, State::Disabled};

}  // namespace

SkinArt::SkinArt() {
    pictures_[pic::kSkin] = FrontPanel();
    for (int d = 0; d <= 9; ++d) {
        pictures_[pic::Digit(d)] = DigitCell(kDigitSegments[static_cast<size_t>(d)], false);
        pictures_[pic::DigitWithPoint(d)] = DigitCell(kDigitSegments[static_cast<size_t>(d)], true);
    }
    pictures_[pic::kLowBar] = DigitCell(kLowBarSegments, false);
    pictures_[pic::kLowBarPoint] = DigitCell(kLowBarSegments, true);
    pictures_[pic::kLetterCPoint] = DigitCell(kLetterCSegments, true);
    pictures_[pic::kLetterC] = DigitCell(kLetterCSegments, false);
    pictures_[pic::kBlank] = DigitCell(0, false);
    pictures_[pic::kLampGreen] = Lamp(25, 25, QColor(0x3c, 0xe0, 0x2a), true);
    pictures_[pic::kLampOrange] = Lamp(25, 26, QColor(0xff, 0x8c, 0x1a), true);
    pictures_[pic::kLampOff] = Lamp(25, 24, QColor(0, 0, 0), false);
    pictures_[pic::kTemperatureCelsius] = TemperatureFace(true);
    pictures_[pic::kTemperatureFahrenheit] = TemperatureFace(false);
    pictures_[pic::kSelectPlate] = SelectPlate();

    for (int i = 0; i < 4; ++i) {
        const QString letter(QChar::fromLatin1(kStateLetters[i]));
        for (const PlateStyle& style : kPlates) named_[style.caption + letter] = PlateButton(style, kStates[i]);
        named_["RIGHT" + letter] = RoundButton(102, 102, RoundGlyph::Right, kStates[i]);
        named_["UP" + letter] = RoundButton(102, 103, RoundGlyph::Up, kStates[i]);
        named_["DOWN" + letter] = RoundButton(102, 102, RoundGlyph::Down, kStates[i]);
        named_["POWER" + letter] = RoundButton(102, 102, RoundGlyph::Power, kStates[i]);
        named_["MODEE" + letter] = RoundButton(103, 102, RoundGlyph::Mode, kStates[i]);
    }
    // The PROGRAM key has only its up and down images.
    named_["PROGRAMU"] = ProgramButton(State::Up);
    named_["PROGRAMD"] = ProgramButton(State::Down);
}

QPixmap SkinArt::Picture(int id) const {
    auto it = pictures_.find(id);
    return it == pictures_.end() ? QPixmap() : it->second;
}

QPixmap SkinArt::Named(const QString& name) const { return named_.value(name); }

QPixmap SkinArt::Icon(int size) { return IconImage(size); }
