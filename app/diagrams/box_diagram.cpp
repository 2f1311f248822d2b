#include "app/diagrams/box_diagram.h"

#include <algorithm>

#include <QFontMetrics>
#include <QPainter>
#include <QPolygonF>

namespace {

const QColor kLineColor(0x4A, 0x55, 0x62);
const QColor kSideLineColor(0x1F, 0x6F, 0xD0);
const QColor kHeadFill(0x1F, 0x4E, 0x79);
const QColor kPartFill(0xE4, 0xEE, 0xF8);
const QColor kPartBorder(0x2E, 0x5C, 0x8A);
const QColor kSideFill(0xF2, 0xF7, 0xFF);
const QColor kDetachedFill(0xFA, 0xFA, 0xFA);
const QColor kDetachedBorder(0x70, 0x70, 0x70);
const QColor kText(0x1A, 0x1A, 0x1A);
const QColor kLabelText(0x40, 0x40, 0x40);

constexpr int kDrop = 16;  // the vertical line from a breakdown's bar into a child box
constexpr int kArrowSize = 5;
constexpr qreal kLineWidth = 1.6;
constexpr qreal kCornerRadius = 5;
constexpr int kPadding = 6;
constexpr int kLabelPaddingX = 7;
constexpr int kLabelPaddingY = 3;
constexpr int kBulletIndent = 12;
constexpr int kListGap = 7;
constexpr int kSmallestPixelSize = 8;

struct TTextStyle {
    int PixelSize;
    bool Bold;
    bool Italic;
};

TTextStyle TextStyleOf(TBoxStyle style)
{
    switch (style) {
        case TBoxStyle::Head: return {15, true, false};
        case TBoxStyle::Detached: return {13, false, true};
        default: return {13, false, false};
    }
}

QFont StyledFont(const QFont& base, int pixelSize, bool bold, bool italic)
{
    QFont font(base);
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    font.setItalic(italic);
    return font;
}

// The height the lines take when each wraps at `width`, with a gap between them.
int WrappedHeight(const QFont& font, const QStringList& lines, int width, int gap)
{
    const QFontMetrics metrics(font);
    int height = 0;
    for (const QString& line : lines) {
        const QRect bounds =
            metrics.boundingRect(QRect(0, 0, width, 10000), Qt::AlignLeft | Qt::TextWordWrap, line);
        if (bounds.width() > width)
            return 10000;
        height += bounds.height() + gap;
    }
    return height - gap;
}

// The style's font, made smaller until the lines fit the area.
QFont FittedFont(const QFont& base, TTextStyle style, const QStringList& lines, QSize area, int gap)
{
    for (int size = style.PixelSize; size > kSmallestPixelSize; --size) {
        const QFont font = StyledFont(base, size, style.Bold, style.Italic);
        if (WrappedHeight(font, lines, area.width(), gap) <= area.height())
            return font;
    }
    return StyledFont(base, kSmallestPixelSize, style.Bold, style.Italic);
}

QPen LinePen(const QColor& color, Qt::PenStyle style = Qt::SolidLine)
{
    QPen pen(color, kLineWidth, style);
    pen.setCapStyle(Qt::FlatCap);
    pen.setJoinStyle(Qt::MiterJoin);
    return pen;
}

void PaintArrowHead(QPainter& painter, QPointF tip, const QColor& color)
{
    const QPolygonF head{tip, tip + QPointF(-kArrowSize, -kArrowSize * 1.4),
                         tip + QPointF(kArrowSize, -kArrowSize * 1.4)};
    painter.setPen(Qt::NoPen);
    painter.setBrush(color);
    painter.drawPolygon(head);
}

void PaintList(QPainter& painter, const QRect& area, const QStringList& items, const QFont& font)
{
    const QFontMetrics metrics(font);
    int top = area.top();
    for (const QString& item : items) {
        const QRect itemArea(area.left() + kBulletIndent, top, area.width() - kBulletIndent,
                             area.bottom() - top);
        const QRect used = metrics.boundingRect(itemArea, Qt::AlignLeft | Qt::TextWordWrap, item);
        painter.drawText(QRect(area.left(), top, kBulletIndent, metrics.height()),
                         Qt::AlignLeft | Qt::AlignTop, QStringLiteral("\u2022"));
        painter.drawText(itemArea, Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, item);
        top += used.height() + kListGap;
    }
}

// Sets the frame and fill of a box; gives the colour of its text.
QColor SetBoxColours(QPainter& painter, TBoxStyle style)
{
    switch (style) {
        case TBoxStyle::Head:
            painter.setPen(QPen(kHeadFill.darker(130), 1));
            painter.setBrush(kHeadFill);
            return Qt::white;
        case TBoxStyle::Side:
            painter.setPen(QPen(kSideLineColor, kLineWidth));
            painter.setBrush(kSideFill);
            return kText;
        case TBoxStyle::Detached:
            painter.setPen(QPen(kDetachedBorder, 1.2, Qt::DashLine));
            painter.setBrush(kDetachedFill);
            return kText;
        default:
            painter.setPen(QPen(kPartBorder, 1.2));
            painter.setBrush(kPartFill);
            return kText;
    }
}

// Where a breakdown's line enters a child: straight below the parent when it
// is the only child and lies under it, else above the child's centre.
int EntryX(const QRect& parent, const QRect& child, bool onlyChild)
{
    const int parentX = parent.center().x();
    if (onlyChild && parentX >= child.left() && parentX <= child.right())
        return parentX;
    return child.center().x();
}

// A stem down from the parent to the bar at barY, the bar across the
// children, and an arrow down from it into each child.
void PaintTree(QPainter& painter, const QRect& parent, const std::vector<QRect>& children, int barY)
{
    int barLeft = parent.center().x();
    int barRight = barLeft;
    painter.setPen(LinePen(kLineColor));
    painter.drawLine(QPoint(barLeft, parent.bottom() + 1), QPoint(barLeft, barY));
    for (const QRect& child : children) {
        const int x = EntryX(parent, child, children.size() == 1);
        barLeft = std::min(barLeft, x);
        barRight = std::max(barRight, x);
        painter.setPen(LinePen(kLineColor));
        painter.drawLine(QPoint(x, barY), QPoint(x, child.top() - kArrowSize));
        PaintArrowHead(painter, QPointF(x, child.top()), kLineColor);
    }
    painter.setPen(LinePen(kLineColor));
    painter.drawLine(QPoint(barLeft, barY), QPoint(barRight, barY));
}

// Straight across, halfway down the height the two boxes share.
void PaintSideLine(QPainter& painter, const QRect& from, const QRect& side)
{
    painter.setPen(LinePen(kSideLineColor));
    const bool toTheLeft = side.center().x() < from.center().x();
    const int y = (std::max(from.top(), side.top()) + std::min(from.bottom(), side.bottom())) / 2;
    painter.drawLine(QPoint(toTheLeft ? from.left() : from.right() + 1, y),
                     QPoint(toTheLeft ? side.right() + 1 : side.left(), y));
}

}  // namespace

QRect CentredBox(int centreX, int top, int width, int height)
{
    return QRect(centreX - width / 2, top, width, height);
}

TBoxDiagram::TBoxId TBoxDiagram::Box(const QRect& rect, const QString& text, TBoxStyle style)
{
    boxes_.push_back({rect, QStringList{text}, style});
    return static_cast<TBoxId>(boxes_.size()) - 1;
}

TBoxDiagram::TBoxId TBoxDiagram::ListBox(const QRect& rect, const QStringList& items)
{
    boxes_.push_back({rect, items, TBoxStyle::List});
    return static_cast<TBoxId>(boxes_.size()) - 1;
}

void TBoxDiagram::Breakdown(TBoxId parent, const std::vector<TBoxId>& children,
                            const QString& label)
{
    breakdowns_.push_back({parent, children, label});
}

void TBoxDiagram::SideLink(TBoxId from, TBoxId side)
{
    sideLinks_.push_back({from, side});
}

QPixmap TBoxDiagram::Paint(const QFont& font, qreal devicePixelRatio) const
{
    QPixmap picture(size_ * devicePixelRatio);
    picture.setDevicePixelRatio(devicePixelRatio);
    picture.fill(Qt::white);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    PaintLines(painter);
    PaintBoxes(painter, font);
    PaintLabels(painter, font);
    return picture;
}

int TBoxDiagram::BarY(const TBreakdown& breakdown) const
{
    int childTop = size_.height();
    for (TBoxId child : breakdown.Children)
        childTop = std::min(childTop, boxes_[child].Rect.top());
    return childTop - kDrop;
}

void TBoxDiagram::PaintLines(QPainter& painter) const
{
    for (const TBreakdown& breakdown : breakdowns_) {
        std::vector<QRect> children;
        for (TBoxId child : breakdown.Children)
            children.push_back(boxes_[child].Rect);
        PaintTree(painter, boxes_[breakdown.Parent].Rect, children, BarY(breakdown));
    }
    for (const TSideLink& link : sideLinks_)
        PaintSideLine(painter, boxes_[link.From].Rect, boxes_[link.Side].Rect);
}

void TBoxDiagram::PaintBoxes(QPainter& painter, const QFont& font) const
{
    for (const TDiagramBox& box : boxes_) {
        const QColor textColor = SetBoxColours(painter, box.Style);
        painter.drawRoundedRect(QRectF(box.Rect).adjusted(0.5, 0.5, -0.5, -0.5), kCornerRadius,
                                kCornerRadius);
        const QRect area = box.Rect.adjusted(kPadding, kPadding, -kPadding, -kPadding);
        const bool list = box.Style == TBoxStyle::List;
        const QSize textArea(area.width() - (list ? kBulletIndent : 0), area.height());
        const QFont boxFont =
            FittedFont(font, TextStyleOf(box.Style), box.Lines, textArea, list ? kListGap : 0);
        painter.setFont(boxFont);
        painter.setPen(textColor);
        if (list)
            PaintList(painter, area, box.Lines, boxFont);
        else
            painter.drawText(area, Qt::AlignCenter | Qt::TextWordWrap, box.Lines.front());
    }
}

void TBoxDiagram::PaintLabels(QPainter& painter, const QFont& font) const
{
    const QFont labelFont = StyledFont(font, 12, false, true);
    const QFontMetrics metrics(labelFont);
    painter.setFont(labelFont);
    for (const TBreakdown& breakdown : breakdowns_) {
        if (breakdown.Label.isEmpty())
            continue;
        const QRect parent = boxes_[breakdown.Parent].Rect;
        const QPoint centre(parent.center().x(), (parent.bottom() + BarY(breakdown)) / 2);
        QRect frame =
            metrics.boundingRect(breakdown.Label)
                .adjusted(-kLabelPaddingX, -kLabelPaddingY, kLabelPaddingX, kLabelPaddingY);
        frame.moveCenter(centre);
        painter.setPen(QPen(kDetachedBorder, 1, Qt::DashLine));
        painter.setBrush(Qt::white);
        painter.drawRect(QRectF(frame).adjusted(0.5, 0.5, -0.5, -0.5));
        painter.setPen(kLabelText);
        painter.drawText(frame, Qt::AlignCenter, breakdown.Label);
    }
}
