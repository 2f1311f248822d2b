// Exchanging cell blocks with the clipboard and writing the grid as CSV.

#include <algorithm>

#include <QClipboard>
#include <QFile>
#include <QGuiApplication>

#include "components/StrGrdQv.h"
#include "platform/dialogs.h"

QString GridBlockText(const TQvStringGrid& grid, int left, int right, int bottom, int top)
{
    QString text;
    if (bottom < top)
        return text;
    text.reserve((bottom - top + 1) * (std::max(right - left + 1, 0) * 8 + 2));
    for (int row = top; row <= bottom; ++row) {
        for (int col = left; col <= right; ++col) {
            if (col > left)
                text += QLatin1Char('\t');
            text += grid.Cell(col, row);
        }
        text += QLatin1String("\r\n");
    }
    return text;
}

void CopyGridToClipboard(const TQvStringGrid& grid, int left, int right, int bottom, int top)
{
    QGuiApplication::clipboard()->setText(GridBlockText(grid, left, right, bottom, top));
}

namespace {

// Walks the text cell by cell; the grid grows with it unless it keeps its size,
// in which case cells beyond its edges are dropped.
class TGridPaster {
public:
    TGridPaster(TQvStringGrid& grid, int col, int row, bool keepSize)
        : grid_(grid), firstCol_(col), col_(col), row_(row), keepSize_(keepSize)
    {
    }

    void Paste(const QString& text)
    {
        if (!keepSize_ && !text.isEmpty()) {
            grid_.SetRowCount(std::max(grid_.RowCount(), row_ + 1));
            grid_.SetColCount(std::max(grid_.ColCount(), col_ + 1));
        }
        const qsizetype length = text.size();
        for (qsizetype i = 0; i < length; ++i) {
            const QChar character = text[i];
            if (character == QLatin1Char('\t')) {
                EndCell();
                ++col_;
                if (!keepSize_ && col_ >= grid_.ColCount())
                    grid_.SetColCount(grid_.ColCount() + 1);
            } else if (character == QLatin1Char('\r')) {
                EndCell();
                ++i;  // the LF of the pair
                col_ = firstCol_;
                ++row_;
                if (!keepSize_ && row_ >= grid_.RowCount() && i + 1 < length)
                    grid_.SetRowCount(grid_.RowCount() + 1);
            } else {
                buffer_ += character;
            }
        }
        if (!buffer_.isEmpty())
            grid_.SetCell(col_, row_, buffer_);
    }

private:
    void EndCell()
    {
        grid_.SetCell(col_, row_, buffer_);
        buffer_.clear();
    }

    TQvStringGrid& grid_;
    const int firstCol_;
    int col_;
    int row_;
    const bool keepSize_;
    QString buffer_;
};

QString CsvField(const QString& text)
{
    if (text.contains(QLatin1Char(',')))
        return QLatin1Char('"') + text + QLatin1Char('"');
    return text;
}

}  // namespace

void PasteTextToGrid(TQvStringGrid& grid, const QString& text, int col, int row, bool keepSize)
{
    TGridPaster(grid, col, row, keepSize).Paste(text);
}

void PasteClipboardToGrid(TQvStringGrid& grid, int col, int row, bool keepSize)
{
    PasteTextToGrid(grid, QGuiApplication::clipboard()->text(), col, row, keepSize);
}

void TQvStringGrid::SaveToCSV(const QString& fileName) const
{
    QString text;
    for (int row = 0; row < RowCount(); ++row) {
        for (int col = 0; col < ColCount(); ++col) {
            if (col > 0)
                text += QLatin1Char(',');
            text += CsvField(Cell(col, row));
        }
        text += QLatin1String("\r\n");
    }
    const QByteArray bytes = text.toUtf8();
    QFile file(fileName);
    const bool written = file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
                         file.write(bytes) == bytes.size() && file.flush();
    file.close();
    if (!written || file.error() != QFileDevice::NoError)
        Dialogs().MessageDlg("Unable to write to file:\n" + fileName.toStdString(),
                             TMsgDlgType::mtError, mbOK);
}
