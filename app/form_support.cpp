#include "app/form_support.h"

#include <QComboBox>
#include <QFontDatabase>
#include <QLineEdit>
#include <QPainter>

#include "checks/check_messages.h"
#include "checks/form_checks.h"
#include "components/StrGrdQv.h"
#include "components/frmMsgDlg.h"
#include "components/ozr_grid_utils.h"
#include "model/ozr_types.h"

namespace {

constexpr int kFirstYear = 2008;
constexpr int kLastYear = 1998;
constexpr int kTextOffset = 2;

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

}  // namespace

std::string TextOf(const QLineEdit& edit)
{
    return ToStd(edit.text());
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

void InitYearBox(QComboBox& box)
{
    box.clear();
    box.setEditable(true);
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

void DrawPeriodRows(TQvStringGrid& grid)
{
    grid.OnDrawCell = [&grid](QPainter& canvas, int col, int row, const QRect& rect,
                              TGridDrawState state) {
        if (col < 1 || row < 1 || (state & gdSelected))
            return;
        FillCellText(canvas, rect, PeriodRowColor(row), grid.Cell(col, row));
    };
}
