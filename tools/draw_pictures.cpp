// Draws the pictures of the program with QPainter and writes them as PNG files:
// ring.png (300 x 220, the ring window's background: a ringing alarm clock) and the program
// icon icon16.png and icon24.png. Usage: tolvane_draw_pictures <output folder>.
// The committed files under assets/ were made by this program (see tools/make_assets.sh).
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QtMath>
#include <cstdio>

namespace {

const QColor kRed(0xd6, 0x3a, 0x2c);
const QColor kRedDark(0x8e, 0x1f, 0x16);
const QColor kGold(0xf0, 0xb9, 0x35);
const QColor kGoldDark(0x9a, 0x6a, 0x0e);
const QColor kInk(0x3a, 0x2a, 0x22);

// One bell: a dome seen from the side, its rim towards the clock.
void DrawBell(QPainter& p, QPointF centre, qreal r, qreal angleDeg, qreal line) {
    p.save();
    p.translate(centre);
    p.rotate(angleDeg);
    QPainterPath dome;
    dome.moveTo(-r, 0.25 * r);
    dome.cubicTo(-r, -1.1 * r, r, -1.1 * r, r, 0.25 * r);
    dome.closeSubpath();
    QLinearGradient g(-r, -r, r, r);
    g.setColorAt(0, kGold.lighter(135));
    g.setColorAt(1, kGold.darker(115));
    p.setBrush(g);
    p.setPen(QPen(kGoldDark, line));
    p.drawPath(dome);
    p.drawEllipse(QPointF(0, -0.85 * r), 0.2 * r, 0.2 * r);  // the knob on top
    p.restore();
}

// The whole clock: bells, hammer, feet, body, face, hands. `tilt` leans it as it rings.
void DrawClock(QPainter& p, QPointF c, qreal r, qreal tilt, bool detailed) {
    const qreal line = qMax<qreal>(1.0, r / 18.0);
    p.save();
    p.translate(c);
    p.rotate(tilt);
    p.setRenderHint(QPainter::Antialiasing);

    // Feet.
    p.setPen(QPen(kInk, line * 1.6, Qt::SolidLine, Qt::RoundCap));
    for (int side : {-1, 1}) {
        const qreal a = qDegreesToRadians(90.0 - side * 38.0);
        const QPointF from(qCos(a) * r * 0.85, qSin(a) * r * 0.85);
        p.drawLine(from, from + QPointF(side * r * 0.22, r * 0.32));
    }
    // Bells, and the hammer between them.
    for (int side : {-1, 1}) {
        const qreal a = qDegreesToRadians(-90.0 + side * 42.0);
        DrawBell(p, QPointF(qCos(a) * r * 1.05, qSin(a) * r * 1.05), r * 0.42, side * 42.0, line);
    }
    p.setPen(QPen(kInk, line * 1.2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(0, -r * 0.95), QPointF(r * 0.12, -r * 1.38));
    p.setBrush(kInk);
    p.drawEllipse(QPointF(r * 0.12, -r * 1.42), r * 0.09, r * 0.09);

    // Body and face.
    QRadialGradient body(QPointF(-r * 0.3, -r * 0.3), r * 1.4);
    body.setColorAt(0, kRed.lighter(130));
    body.setColorAt(1, kRed.darker(110));
    p.setBrush(body);
    p.setPen(QPen(kRedDark, line));
    p.drawEllipse(QPointF(0, 0), r, r);
    const qreal face = r * 0.78;
    p.setBrush(QColor(0xff, 0xfd, 0xf6));
    p.setPen(QPen(kRedDark, line * 0.8));
    p.drawEllipse(QPointF(0, 0), face, face);
    if (detailed) {
        for (int i = 0; i < 12; ++i) {
            const qreal a = qDegreesToRadians(i * 30.0);
            const qreal inner = (i % 3 == 0) ? face * 0.76 : face * 0.86;
            p.setPen(QPen(kInk, (i % 3 == 0) ? line * 1.2 : line * 0.7, Qt::SolidLine, Qt::RoundCap));
            p.drawLine(QPointF(qSin(a) * inner, -qCos(a) * inner), QPointF(qSin(a) * face * 0.94, -qCos(a) * face * 0.94));
        }
    }
    // Hands at seven o'clock sharp: the hour to 7, the minute to 12.
    p.setPen(QPen(kInk, line * 1.6, Qt::SolidLine, Qt::RoundCap));
    const qreal hour = qDegreesToRadians(210.0);
    p.drawLine(QPointF(0, 0), QPointF(qSin(hour) * face * 0.5, -qCos(hour) * face * 0.5));
    p.setPen(QPen(kInk, line * 1.1, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(0, 0), QPointF(0, -face * 0.75));
    p.setPen(Qt::NoPen);
    p.setBrush(kRedDark);
    p.drawEllipse(QPointF(0, 0), line * 1.4, line * 1.4);
    p.restore();
}

// Short arcs beside the bells that say "it is ringing".
void DrawRingingLines(QPainter& p, QPointF c, qreal r) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(0xc2, 0x5b, 0x1e), 2.0, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    for (int side : {-1, 1}) {
        for (int k = 0; k < 3; ++k) {
            const qreal rr = r * (1.55 + 0.22 * k);
            const QRectF box(c.x() - rr, c.y() - r * 0.5 - rr, 2 * rr, 2 * rr);
            const qreal mid = side < 0 ? 135.0 : 45.0;
            p.drawArc(box, int((mid - 12) * 16), int(24 * 16));
        }
    }
    p.restore();
}

void DrawNote(QPainter& p, QPointF at, qreal size, QColor colour) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(colour, size * 0.12));
    p.setBrush(colour);
    p.translate(at);
    p.save();
    p.rotate(-20);
    p.drawEllipse(QPointF(0, 0), size * 0.32, size * 0.22);
    p.restore();
    p.drawLine(QPointF(size * 0.28, -size * 0.05), QPointF(size * 0.28, -size));
    p.drawLine(QPointF(size * 0.28, -size), QPointF(size * 0.6, -size * 0.72));
    p.restore();
}

QImage RingPicture() {
    QImage img(300, 220, QImage::Format_ARGB32_Premultiplied);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient sky(0, 0, 0, 220);
    sky.setColorAt(0, QColor(0xff, 0xfb, 0xef));
    sky.setColorAt(1, QColor(0xfd, 0xe8, 0xc8));
    p.fillRect(img.rect(), sky);
    const QPointF c(238, 150);
    const qreal r = 36;
    QRadialGradient glow(c, 90);
    glow.setColorAt(0, QColor(0xff, 0xe0, 0x8a, 150));
    glow.setColorAt(1, QColor(0xff, 0xe0, 0x8a, 0));
    p.fillRect(img.rect(), glow);
    // The table it stands on, and its shadow.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xe8, 0xc9, 0x9b));
    p.drawRect(QRectF(0, 192, 300, 28));
    p.setBrush(QColor(0xd9, 0xb3, 0x80));
    p.drawRect(QRectF(0, 192, 300, 2));
    p.setBrush(QColor(0, 0, 0, 40));
    p.drawEllipse(QPointF(c.x(), 192), 40, 5);
    DrawRingingLines(p, c, r);
    DrawClock(p, c, r, -7.0, true);
    DrawNote(p, QPointF(176, 128), 16, QColor(0xc2, 0x5b, 0x1e, 200));
    DrawNote(p, QPointF(194, 106), 11, QColor(0xc2, 0x5b, 0x1e, 150));
    p.end();
    return img;
}

QImage Icon(int size) {
    QImage img(size, size, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    QPainter p(&img);
    const qreal r = size * 0.34;
    DrawClock(p, QPointF(size / 2.0, size * 0.56), r, 0.0, size >= 24);
    p.end();
    return img;
}

}  // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s <output folder>\n", argv[0]);
        return 2;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));
    bool ok = RingPicture().save(out.filePath(QStringLiteral("ring.png")));
    ok = Icon(16).save(out.filePath(QStringLiteral("icon16.png"))) && ok;
    ok = Icon(24).save(out.filePath(QStringLiteral("icon24.png"))) && ok;
    return ok ? 0 : 1;
}
