#include "app/main/main_pictures.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <numbers>

#include <QIconEngine>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>

namespace {

constexpr int kIconSize = 32;
constexpr QSize kBannerSize(248, 56);

QPolygonF Star(QPointF centre, double outer, double inner)
{
    QPolygonF star;
    for (int i = 0; i < 10; ++i) {
        const double radius = i % 2 == 0 ? outer : inner;
        const double angle = -std::numbers::pi / 2 + i * std::numbers::pi / 5;
        star << centre + QPointF(radius * std::cos(angle), radius * std::sin(angle));
    }
    return star;
}

// A square picture of `size` pixels, painted on a grid of kIconSize.
QPixmap IconPixmap(int size, void (*paint)(QPainter&))
{
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(size / double(kIconSize), size / double(kIconSize));
    paint(painter);
    return pixmap;
}

void PaintFolder(QPainter& painter)
{
    const QPen outline(QColor(0x8A, 0x5A, 0x10), 1.2);
    painter.setPen(outline);
    painter.setBrush(QColor(0xE8, 0xB0, 0x40));
    painter.drawPolygon(QPolygonF({{3, 8}, {12, 8}, {14, 11}, {27, 11}, {27, 26}, {3, 26}}));
    painter.setBrush(QColor(0xF8, 0xD0, 0x70));
    painter.drawPolygon(QPolygonF({{7, 15}, {30, 15}, {26, 26}, {3, 26}}));
}

void PaintDisk(QPainter& painter)
{
    painter.setPen(QPen(QColor(0x1A, 0x30, 0x60), 1.2));
    painter.setBrush(QColor(0x3A, 0x60, 0xA8));
    painter.drawPolygon(QPolygonF({{4, 4}, {25, 4}, {28, 7}, {28, 28}, {4, 28}}));
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0xF0, 0xF0, 0xF0));
    painter.drawRect(QRectF(8, 4.6, 15, 9));
    painter.setBrush(QColor(0x3A, 0x60, 0xA8));
    painter.drawRect(QRectF(18, 6, 3, 6));
    painter.setBrush(QColor(0xD8, 0xD8, 0xD8));
    painter.drawRect(QRectF(8, 18, 16, 10));
}

void PaintWand(QPainter& painter)
{
    painter.setPen(QPen(QColor(0x30, 0x30, 0x30), 4, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(QPointF(5, 27), QPointF(19, 13));
    painter.setPen(QPen(Qt::white, 4, Qt::SolidLine, Qt::FlatCap));
    painter.drawLine(QPointF(17, 15), QPointF(19, 13));
    painter.setPen(QPen(QColor(0x9A, 0x6A, 0x00), 1.2));
    painter.setBrush(QColor(0xFF, 0xC8, 0x20));
    painter.drawPolygon(Star(QPointF(23, 9), 8, 3.4));
}

void PaintQuestion(QPainter& painter)
{
    painter.setPen(QPen(QColor(0x1F, 0x4E, 0x9A), 1.5));
    painter.setBrush(QColor(0x35, 0x78, 0xD0));
    painter.drawEllipse(QRectF(3, 3, 26, 26));
    QFont font = painter.font();
    font.setBold(true);
    font.setPixelSize(20);
    painter.setFont(font);
    painter.setPen(Qt::white);
    painter.drawText(QRectF(3, 3, 26, 26), Qt::AlignCenter, QStringLiteral("?"));
}

// Paints an icon at the size it is shown at, when it is first shown there,
// rather than at every size while the program starts.
class TPaintedIcon final : public QIconEngine {
public:
    explicit TPaintedIcon(void (*paint)(QPainter&)) : paint_(paint) {}

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override
    {
        painter->drawPixmap(rect, pixmap(rect.size(), mode, state));
    }

    QPixmap pixmap(const QSize& size, QIcon::Mode, QIcon::State) override
    {
        const int side = std::min(size.width(), size.height());
        auto [cached, made] = pixmaps_.try_emplace(side);
        if (made)
            cached->second = IconPixmap(side, paint_);
        return cached->second;
    }

    QIconEngine* clone() const override { return new TPaintedIcon(paint_); }

private:
    void (*paint_)(QPainter&);
    std::map<int, QPixmap> pixmaps_;
};

QIcon PaintedIcon(void (*paint)(QPainter&))
{
    return QIcon(new TPaintedIcon(paint));
}

// Water from `top` down to the bottom of the banner, its surface rising and
// falling by `height` pixels.
QPainterPath Waves(double top, double height, double wavelength)
{
    const double half = wavelength / 2;
    QPainterPath path(QPointF(0, top));
    bool crest = true;
    double x = 0;
    for (; x < kBannerSize.width(); x += half, crest = !crest)
        path.quadTo(QPointF(x + half / 2, crest ? top - height : top + height),
                    QPointF(x + half, top));
    path.lineTo(x, kBannerSize.height());
    path.lineTo(0, kBannerSize.height());
    path.closeSubpath();
    return path;
}

}  // namespace

QIcon OpenIcon()
{
    return PaintedIcon(PaintFolder);
}

QIcon SaveIcon()
{
    return PaintedIcon(PaintDisk);
}

QIcon WizardIcon()
{
    return PaintedIcon(PaintWand);
}

QIcon HelpIcon()
{
    return PaintedIcon(PaintQuestion);
}

QPixmap AboutPicture()
{
    QPixmap pixmap(kBannerSize);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    QLinearGradient sky(0, 0, 0, kBannerSize.height());
    sky.setColorAt(0, QColor(0xF4, 0xF9, 0xFF));
    sky.setColorAt(1, QColor(0xD6, 0xE9, 0xF8));
    painter.fillRect(pixmap.rect(), sky);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0xB4, 0xD7, 0xF0));
    painter.drawPath(Waves(40, 3, 40));
    painter.setBrush(QColor(0x8C, 0xC0, 0xE8));
    painter.drawPath(Waves(47, 2.5, 32));
    return pixmap;
}
