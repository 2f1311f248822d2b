#pragma once

// A picture of boxes joined by lines, described box by box and painted at a
// fixed size: the explanatory diagrams of the table forms are built with it.
// Box texts wrap inside their boxes and shrink when a font is too wide for
// them, so a description holds for any of the fonts the program may use.

#include <vector>

#include <QFont>
#include <QPixmap>
#include <QRect>
#include <QSize>
#include <QString>
#include <QStringList>

enum class TBoxStyle {
    Head,      // the table the picture explains, highlighted
    Part,      // a part of the box above it
    Side,      // a share of a box, joined to it by a blue line
    Detached,  // a quantity of its own beside the tree, dashed
    List,      // one box listing several parts, one per line
};

struct TDiagramBox {
    QRect Rect;
    QStringList Lines;  // one line of text, or the items of a list box
    TBoxStyle Style = TBoxStyle::Part;
};

// The box of that size whose top edge is centred on (centreX, top).
QRect CentredBox(int centreX, int top, int width, int height);

class QPainter;

class TBoxDiagram {
public:
    using TBoxId = int;

    explicit TBoxDiagram(QSize size) : size_(size) {}

    TBoxId Box(const QRect& rect, const QString& text, TBoxStyle style = TBoxStyle::Part);
    TBoxId ListBox(const QRect& rect, const QStringList& items);
    // Joins the parent to each child by a tree of lines that leaves the
    // parent's bottom edge; the label (when given) sits in a dashed frame on
    // the line that leaves the parent.
    void Breakdown(TBoxId parent, const std::vector<TBoxId>& children, const QString& label = {});
    // A blue line across from the side of `from` that faces `side`, which
    // stands beside it sharing some of its height.
    void SideLink(TBoxId from, TBoxId side);

    QSize Size() const { return size_; }
    const std::vector<TDiagramBox>& Boxes() const { return boxes_; }

    // The picture on a white ground; `font` gives the family, the sizes are
    // the picture's own. devicePixelRatio > 1 paints as many more pixels.
    QPixmap Paint(const QFont& font, qreal devicePixelRatio = 1) const;

private:
    struct TBreakdown {
        TBoxId Parent;
        std::vector<TBoxId> Children;
        QString Label;
    };
    struct TSideLink {
        TBoxId From;
        TBoxId Side;
    };

    // The height of the line across a breakdown's children.
    int BarY(const TBreakdown& breakdown) const;
    void PaintLines(QPainter& painter) const;
    void PaintBoxes(QPainter& painter, const QFont& font) const;
    void PaintLabels(QPainter& painter, const QFont& font) const;

    QSize size_;
    std::vector<TDiagramBox> boxes_;
    std::vector<TBreakdown> breakdowns_;
    std::vector<TSideLink> sideLinks_;
};
