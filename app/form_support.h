#pragma once

// Small pieces the data forms share: text conversion at the boundary between
// the widgets and the layers below, the toolkit's colour notation, the
// reporting-year box and the row colours of quantity grids.

#include <functional>
#include <span>
#include <string>
#include <vector>

#include <QColor>
#include <QString>
#include <QStringList>

class QAbstractButton;
class QComboBox;
class QLineEdit;
class QPainter;
class QPlainTextEdit;
class QRect;
class QWidget;
class TCheckMessages;
class TQvStringGrid;
enum class TLineEnds;
enum class TNumberKind;

inline QString ToQt(const std::string& text)
{
    return QString::fromStdString(text);
}

inline std::string ToStd(const QString& text)
{
    return text.toStdString();
}

std::string TextOf(const QLineEdit& edit);

// Puts a text the program holds into a box, shown whole however long it is:
// the box's length limit is a limit on typing, which Qt's own would also
// apply to this text. A longer text than the limit may be shortened by the
// user but never grown; once within the limit, the limit holds again.
void FillBox(QLineEdit& box, const QString& text);
void FillBox(QLineEdit& box, const std::string& text);

// A box that shows a value the form does not edit: read-only, on the colour
// of the form behind it.
void ShowAsReadOnly(QLineEdit& box);

// Tahoma where it is installed, else the system's sans-serif, at the system's size.
void SetFormFont(QWidget& form);

// A colour written as the toolkit writes it: blue in the high byte, red in the low.
constexpr QColor BgrColor(unsigned bgr)
{
    return QColor(bgr & 0xFF, (bgr >> 8) & 0xFF, (bgr >> 16) & 0xFF);
}

// The editable year box with "2008" down to "1998", "2008" chosen; typing
// never adds an item.
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
// The same for a grid whose columns from firstCol on are the sixteen periods,
// its rows from 1 on the items.
void DrawPeriodColumns(TQvStringGrid& grid, int firstCol);

// Paints the data cells (column 1 on, row 1 on) that are not selected on the
// background `colorOf` gives, with the text 2 pixels in from the top-left corner;
// a cell for which it gives an invalid colour keeps the grid's drawing.
void DrawCellBackgrounds(TQvStringGrid& grid, std::function<QColor(int col, int row)> colorOf);

// The remarks memo shows the remarks that the windows store with CR LF line ends.
void ShowRemarks(QPlainTextEdit& memo, const std::string& remarks, TLineEnds ends);
std::string RemarksOf(const QPlainTextEdit& memo, TLineEnds ends);

// Empties every line edit (not the text of combo boxes), unchecks every check
// box and radio button and clears every memo of the form.
void ResetControls(QWidget& form);

// The keyboard as a desktop program's: Tab leaves the window's multi-line boxes
// rather than typing a tab into them, one-line boxes that show what cannot be
// edited are no Tab stops, Enter presses the focused push button, Tab into a
// group of radio buttons lands on the checked one, and F1 (the platform's help
// key) does what the window's Help button does, when it has one.
void SetUpKeyboard(QWidget& window, QAbstractButton* helpButton);
// Focuses the first control of the window, on its current page, that Tab
// reaches: the first box the user can edit.
void FocusFirstBox(QWidget& window);

// Centred on the screen, where the window stays when it is shown again.
void CentreOnScreen(QWidget& window);

// "Month 1 (Jan)" to "Month 12 (Dec)", the titles of month rows and lists.
QStringList MonthTitles();

// The data grid of a form: its size, the widths of its columns from column 0
// on, the height of its rows and its background; editable with range
// selection. `fitCol` takes the remaining width (-1 for none).
void SetUpDataGrid(TQvStringGrid& grid, std::initializer_list<int> colWidths, int rowCount,
                   int rowHeight, const QColor& color, int fitCol);
// Empties the data cells and the corner and writes the titles again: row 0
// from column 1 on and column 0 from row 1 on.
void ResetGrid(TQvStringGrid& grid, const QStringList& colTitles, const QStringList& rowTitles);

// Writes the titles of rows 1 on (column 0) in one go: the title column is
// the grid's vertical header, which would otherwise lay itself out again for
// every title.
void SetRowTitles(TQvStringGrid& grid, const QStringList& titles);

// Column `col` from row `firstRow` on shows one value per row, as `text` gives it.
void LoadGridColumn(TQvStringGrid& grid, int col, int firstRow, std::span<const double> values,
                    std::string (*text)(double));
// The values back from the same cells, blank cells as missing.
void StoreGridColumn(const TQvStringGrid& grid, int col, int firstRow, std::span<double> values);
// The texts of rows firstRow to lastRow of a column.
std::vector<std::string> GridColumnTexts(const TQvStringGrid& grid, int col, int firstRow,
                                         int lastRow);
// Checks the cells of rows firstRow to lastRow row by row, column 1 under
// fieldNames[0], column 2 under fieldNames[1] and so on; blank cells pass.
void CheckGridNumbers(const TQvStringGrid& grid, int firstRow, int lastRow,
                      std::initializer_list<const char*> fieldNames, TNumberKind kind,
                      TCheckMessages& messages);
