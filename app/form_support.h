#pragma once

// Small pieces the data forms share: text conversion at the boundary between
// the widgets and the layers below, the toolkit's colour notation, the
// reporting-year box and the row colours of quantity grids.

#include <string>

#include <QColor>
#include <QString>

class QComboBox;
class QLineEdit;
class QPainter;
class QRect;
class QWidget;
class TCheckMessages;
class TQvStringGrid;

inline QString ToQt(const std::string& text)
{
    return QString::fromStdString(text);
}

inline std::string ToStd(const QString& text)
{
    return text.toStdString();
}

std::string TextOf(const QLineEdit& edit);

// Tahoma where it is installed, else the system's sans-serif, at the system's size.
void SetFormFont(QWidget& form);

// A colour written as the toolkit writes it: blue in the high byte, red in the low.
constexpr QColor BgrColor(unsigned bgr)
{
    return QColor(bgr & 0xFF, (bgr >> 8) & 0xFF, (bgr >> 16) & 0xFF);
}

// The editable year box with "2008" down to "1998", "2008" chosen.
void InitYearBox(QComboBox& box);
// Chooses the object's year when it is one of the items; "2008" otherwise.
void LoadYearBox(QComboBox& box, int year);
// The box's year, which also becomes the session's reporting year; only a
// box that passed CheckReportingYear reaches this.
int StoreYearBox(const QComboBox& box);

// Shows the findings, when there are any, in one message list; true when none
// of them is an error.
bool ShowFindings(const TCheckMessages& messages);

// Paints a grid cell over in this colour and writes its text at the top left.
void FillCellText(QPainter& canvas, const QRect& rect, const QColor& background,
                  const QString& text);

// Data cells of a grid whose rows are months 1 to 12, the annual value, the
// wet and dry season and the LTAA get a background by row.
void DrawPeriodRows(TQvStringGrid& grid);
