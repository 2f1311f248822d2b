#include "app/form_support.h"

#include <algorithm>

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QFocusEvent>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QShortcut>
#include <QSignalBlocker>
#include <QTabBar>
#include <QTabWidget>
#include <QToolButton>

#include "appcore/check_messages.h"
#include "appcore/form_checks.h"
#include "appcore/form_values.h"
#include "appcore/quantity_columns.h"
#include "components/StrGrdQv.h"
#include "components/frmMsgDlg.h"
#include "components/ozr_grid_utils.h"
#include "model/ozr_types.h"

namespace {

constexpr int kFirstYear = 2008;
constexpr int kLastYear = 1998;
constexpr int kTextOffset = 2;
// The property of a box that holds its typing limit, once the program has filled it.
constexpr const char* kTypingLimit = "wqTypingLimit";

QColor PeriodRowColor(int row)
{
    if (row <= 12)
        return BgrColor(0xEEEEEE);
    if (row == 13)
        return BgrColor(0xC0DCC0);
    if (row <= 15)
        return BgrColor(0xF4DAC1);
    return BgrColor(0xB9FFFF);
}

// Qt's limit becomes the longer of the typing limit and the text's length.
// Changing it puts the cursor at the end, so it is put back.
void FitLengthLimit(QLineEdit& box, qsizetype textLength)
{
    const int limit =
        static_cast<int>(std::max<qsizetype>(box.property(kTypingLimit).toInt(), textLength));
    if (limit == box.maxLength())
        return;
    const int cursor = box.cursorPosition();
    box.setMaxLength(limit);
    box.setCursorPosition(cursor);
}

}  // namespace

std::string TextOf(const QLineEdit& edit)
{
    return ToStd(edit.text());
}

void FillBox(QLineEdit& box, const QString& text)
{
    if (!box.property(kTypingLimit).isValid()) {
        box.setProperty(kTypingLimit, box.maxLength());
        // Every edit of the user lowers the limit to what is left of a long
        // text, so that it cannot grow again.
        QObject::connect(&box, &QLineEdit::textEdited, &box,
                         [&box](const QString& edited) { FitLengthLimit(box, edited.size()); });
    }
    FitLengthLimit(box, text.size());
    box.setText(text);
}

void FillBox(QLineEdit& box, const std::string& text)
{
    FillBox(box, ToQt(text));
}

void ShowRemarks(QPlainTextEdit& memo, const std::string& remarks, TLineEnds ends)
{
    memo.setPlainText(ToQt(ShownRemarks(remarks, ends)));
}

std::string RemarksOf(const QPlainTextEdit& memo, TLineEnds ends)
{
    return StoredRemarks(ToStd(memo.toPlainText()), ends);
}

void ShowAsReadOnly(QLineEdit& box)
{
    box.setReadOnly(true);
    QPalette colours = box.palette();
    colours.setColor(QPalette::Base, colours.color(QPalette::Window));
    box.setPalette(colours);
}

void SetFormFont(QWidget& form)
{
    static const QString family =
        QFontDatabase::hasFamily(QStringLiteral("Tahoma"))
            ? QStringLiteral("Tahoma")
            : QFontDatabase::systemFont(QFontDatabase::GeneralFont).family();
    QFont font = form.font();
    font.setFamily(family);
    form.setFont(font);
}

namespace {

// Enter presses the focused push button, in every window. Qt presses only the
// buttons that can become the window's default, and the forms turn that off
// where it would change which button Enter presses from a box.
class TEnterPressesButton final : public QObject {
public:
    using QObject::QObject;

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::KeyPress)
            return false;
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key != Qt::Key_Return && key != Qt::Key_Enter)
            return false;
        static_cast<QAbstractButton*>(watched)->click();
        return true;
    }
};

// The checked button of the same exclusive group, if any.
QRadioButton* CheckedSibling(const QRadioButton& button)
{
    if (!button.autoExclusive() || !button.parentWidget())
        return nullptr;
    for (QRadioButton* sibling :
         button.parentWidget()->findChildren<QRadioButton*>(Qt::FindDirectChildrenOnly))
        if (sibling->autoExclusive() && sibling->isChecked() && sibling->isEnabled() &&
            sibling->isVisible())
            return sibling;
    return nullptr;
}

// Tab into a group of radio buttons lands on the checked one, as on the
// desktops the program came from; Qt lands on the one focused last, or the first.
class TTabToCheckedRadio final : public QObject {
public:
    using QObject::QObject;

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::FocusIn)
            return false;
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason != Qt::TabFocusReason && reason != Qt::BacktabFocusReason)
            return false;
        auto* button = static_cast<QRadioButton*>(watched);
        QRadioButton* checked = CheckedSibling(*button);
        if (!checked || checked == button)
            return false;
        checked->setFocus(reason);
        return true;
    }
};

}  // namespace

void SetUpKeyboard(QWidget& window, QAbstractButton* helpButton)
{
    // A read-only memo stays a Tab stop, with a cursor that shows it has the
    // focus: the arrow and page keys scroll what it holds.
    for (QPlainTextEdit* memo : window.findChildren<QPlainTextEdit*>()) {
        memo->setTabChangesFocus(true);
        if (memo->isReadOnly())
            memo->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    }
    // A click still lets the user select and copy what a read-only box shows.
    for (QLineEdit* box : window.findChildren<QLineEdit*>())
        if (box->isReadOnly())
            box->setFocusPolicy(Qt::ClickFocus);
    // The arrows that scroll a row of page tabs are clicked, not tabbed to.
    for (QTabBar* tabs : window.findChildren<QTabBar*>())
        for (QToolButton* arrow : tabs->findChildren<QToolButton*>())
            arrow->setFocusPolicy(Qt::NoFocus);
    auto* enter = new TEnterPressesButton(&window);
    for (QPushButton* button : window.findChildren<QPushButton*>())
        button->installEventFilter(enter);
    auto* tabToChecked = new TTabToCheckedRadio(&window);
    for (QRadioButton* button : window.findChildren<QRadioButton*>())
        button->installEventFilter(tabToChecked);
    if (helpButton) {
        auto* helpKey = new QShortcut(QKeySequence::HelpContents, &window);
        QObject::connect(helpKey, &QShortcut::activated, helpButton, &QAbstractButton::click);
    }
}

namespace {

// A page control (through its tab bar) comes first in the Tab order of a
// window with pages, but it chooses pages rather than edits.
bool IsPageChooser(const QWidget& control)
{
    return qobject_cast<const QTabWidget*>(&control) || qobject_cast<const QTabBar*>(&control);
}

}  // namespace

void FocusFirstBox(QWidget& window)
{
    for (QWidget* control = window.nextInFocusChain(); control != &window;
         control = control->nextInFocusChain()) {
        if ((control->focusPolicy() & Qt::TabFocus) && control->isEnabled() &&
            window.isAncestorOf(control) && control->isVisibleTo(&window) &&
            !IsPageChooser(*control)) {
            control->setFocus(Qt::TabFocusReason);
            return;
        }
    }
}

void CentreOnScreen(QWidget& window)
{
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        window.move(screen->availableGeometry().center() - window.rect().center());
}

void InitYearBox(QComboBox& box)
{
    box.clear();
    box.setEditable(true);
    // The list is the reporting years; what the user types is one text of the box.
    box.setInsertPolicy(QComboBox::NoInsert);
    for (int year = kFirstYear; year >= kLastYear; --year)
        box.addItem(QString::number(year));
    box.setMaxVisibleItems(kFirstYear - kLastYear + 1);
    box.setCurrentIndex(0);
}

void LoadYearBox(QComboBox& box, int year)
{
    box.setCurrentIndex(0);
    if (year > 0)
        SelectComboItem(box, QString::number(year));
}

int StoreYearBox(const QComboBox& box)
{
    const int year = ReportingYear(ToStd(box.currentText())).value();
    CurrentSession().FYear = year;
    return year;
}

bool ShowFindings(const TCheckMessages& messages)
{
    if (messages.Empty())
        return true;
    TMessageDialog list;
    for (const TCheckMessage& message : messages.Items())
        list.AddMessage(ToQt(message.Text), message.Kind);
    list.ShowMessages();
    return !messages.HasErrors();
}

void FillCellText(QPainter& canvas, const QRect& rect, const QColor& background,
                  const QString& text)
{
    canvas.fillRect(rect, background);
    canvas.drawText(rect.adjusted(kTextOffset, kTextOffset, 0, 0), Qt::AlignLeft | Qt::AlignTop,
                    text);
}

void DrawCellBackgrounds(TQvStringGrid& grid, std::function<QColor(int col, int row)> colorOf)
{
    grid.OnDrawCell = [&grid, colorOf = std::move(colorOf)](QPainter& canvas, int col, int row,
                                                            const QRect& rect,
                                                            TGridDrawState state) {
        if (col < 1 || row < 1 || (state & gdSelected))
            return;
        const QColor color = colorOf(col, row);
        if (color.isValid())
            FillCellText(canvas, rect, color, grid.Cell(col, row));
    };
}

void DrawPeriodRows(TQvStringGrid& grid)
{
    DrawCellBackgrounds(grid, [](int, int row) { return PeriodRowColor(row); });
}

void DrawPeriodColumns(TQvStringGrid& grid, int firstCol)
{
    DrawCellBackgrounds(grid, [firstCol](int col, int) {
        return col >= firstCol ? PeriodRowColor(col - firstCol + 1) : QColor();
    });
}

void ResetControls(QWidget& form)
{
    // Setting the text, unlike clear(), also drops the box's undo history.
    for (QLineEdit* edit : form.findChildren<QLineEdit*>())
        if (!qobject_cast<QComboBox*>(edit->parentWidget()))
            FillBox(*edit, QString());
    for (QCheckBox* box : form.findChildren<QCheckBox*>())
        box->setChecked(false);
    // A checked radio button of a group cannot be unchecked while it is exclusive.
    for (QRadioButton* button : form.findChildren<QRadioButton*>()) {
        button->setAutoExclusive(false);
        button->setChecked(false);
        button->setAutoExclusive(true);
    }
    for (QPlainTextEdit* memo : form.findChildren<QPlainTextEdit*>())
        memo->clear();
}

QStringList MonthTitles()
{
    QStringList titles;
    for (const char* title : std::span(PeriodTitles).first(12))
        titles << QString::fromLatin1(title);
    return titles;
}

void SetUpDataGrid(TQvStringGrid& grid, std::initializer_list<int> colWidths, int rowCount,
                   int rowHeight, const QColor& color, int fitCol)
{
    grid.SetColCount(static_cast<int>(colWidths.size()));
    grid.SetRowCount(rowCount);
    grid.SetDefaultRowHeight(rowHeight);
    int col = 0;
    for (int width : colWidths)
        grid.SetColWidth(col++, width);
    grid.SetColor(color);
    grid.SetOptions(grid.Options() | goEditing | goRangeSelect);
    grid.SetFitColToWidth(fitCol);
}

// The titles are written over rather than cleared first: most often they
// stay as they were, and an unchanged cell costs nothing.
void ResetGrid(TQvStringGrid& grid, const QStringList& colTitles, const QStringList& rowTitles)
{
    ClearGridCells(grid, 1, 1, 1);
    grid.SetCell(0, 0, QString());
    for (int i = 0; i < colTitles.size(); ++i)
        grid.SetCell(i + 1, 0, colTitles[i]);
    SetRowTitles(grid, rowTitles);
}

void SetRowTitles(TQvStringGrid& grid, const QStringList& titles)
{
    {
        const QSignalBlocker quiet(grid.model());
        for (int i = 0; i < titles.size(); ++i)
            grid.SetCell(0, i + 1, titles[i]);
    }
    if (!titles.isEmpty())
        grid.verticalHeader()->headerDataChanged(Qt::Vertical, 0, titles.size() - 1);
}

void LoadGridColumn(TQvStringGrid& grid, int col, int firstRow, std::span<const double> values,
                    std::string (*text)(double))
{
    const TGridBulkWrite bulk({&grid});
    int row = firstRow;
    for (double value : values)
        grid.SetCell(col, row++, ToQt(text(value)));
}

void StoreGridColumn(const TQvStringGrid& grid, int col, int firstRow, std::span<double> values)
{
    int row = firstRow;
    for (double& value : values)
        value = StoredReal(ToStd(grid.Cell(col, row++)));
}

std::vector<std::string> GridColumnTexts(const TQvStringGrid& grid, int col, int firstRow,
                                         int lastRow)
{
    std::vector<std::string> texts;
    for (int row = firstRow; row <= lastRow; ++row)
        texts.push_back(ToStd(grid.Cell(col, row)));
    return texts;
}

void CheckGridNumbers(const TQvStringGrid& grid, int firstRow, int lastRow,
                      std::initializer_list<const char*> fieldNames, TNumberKind kind,
                      TCheckMessages& messages)
{
    for (int row = firstRow; row <= lastRow; ++row) {
        int col = 1;
        for (const char* fieldName : fieldNames)
            CheckNumberField(ToStd(grid.Cell(col++, row)), kind, fieldName, messages);
    }
}
