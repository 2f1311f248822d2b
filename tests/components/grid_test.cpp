#include <set>
#include <utility>

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QtTest>

#include "components/StrGrdQv.h"
#include "platform/rtti.h"
#include "platform/scripted_dialogs.h"
#include "tests/qt_support/qt_tests.h"

namespace {

struct TTag : TObject {};

// A grid with one fixed row and column and the given data rows.
void Fill(TQvStringGrid& grid, const std::vector<std::vector<QString>>& rows)
{
    grid.SetRowCount(static_cast<int>(rows.size()));
    grid.SetColCount(static_cast<int>(rows.front().size()));
    for (int row = 0; row < grid.RowCount(); ++row)
        for (int col = 0; col < grid.ColCount(); ++col)
            grid.SetCell(col, row,
                         rows[static_cast<std::size_t>(row)][static_cast<std::size_t>(col)]);
}

QString ClipboardText()
{
    return QGuiApplication::clipboard()->text();
}

void Trigger(TQvStringGrid& grid, const char* item)
{
    grid.PopupMenu()->Item(QLatin1String(item))->trigger();
}

QString Column(const TQvStringGrid& grid, int col)
{
    QStringList cells;
    for (int row = 0; row < grid.RowCount(); ++row)
        cells << grid.Cell(col, row);
    return cells.join(QLatin1Char('|'));
}

}  // namespace

class GridTest : public QObject {
    Q_OBJECT
private slots:
    void cellsLiveInHeadersAndBodyAlike()
    {
        TQvStringGrid grid;
        Fill(grid, {{QStringLiteral("corner"), QStringLiteral("title")},
                    {QStringLiteral("row"), QStringLiteral("value")}});
        TTag tag;
        grid.SetObject(0, 1, &tag);
        grid.SetCell(0, 1, QStringLiteral("renamed"));  // a header cell keeps its object
        QCOMPARE(grid.Object(0, 1), &tag);
        grid.SetCell(0, 1, QStringLiteral("row"));
        QCOMPARE(grid.horizontalHeaderItem(0)->text(), QStringLiteral("title"));
        QCOMPARE(grid.verticalHeaderItem(0)->text(), QStringLiteral("row"));
        QCOMPARE(grid.Cell(0, 0), QStringLiteral("corner"));
        grid.SetFixedCols(0);
        grid.SetFixedRows(0);
        QCOMPARE(grid.ColCount(), 2);
        QCOMPARE(grid.RowCount(), 2);
        QCOMPARE(Column(grid, 0), QStringLiteral("corner|row"));
        QCOMPARE(Column(grid, 1), QStringLiteral("title|value"));
        QCOMPARE(grid.Object(0, 1), &tag);
        QCOMPARE(grid.Cell(5, 5), QString());  // outside: no cell, no crash

        TQvStringGrid bare;
        bare.SetFixedRows(0);
        bare.SetRowCount(0);
        bare.SetFixedRows(1);  // the title row appears out of nothing
        QCOMPARE(bare.RowCount(), 1);
        bare.SetCell(2, 0, QStringLiteral("title"));
        QCOMPARE(bare.Cell(2, 0), QStringLiteral("title"));
    }

    void copiesSelectionOrWholeEditableGrid()
    {
        TQvStringGrid grid;
        Fill(grid, {{QStringLiteral("h"), QStringLiteral("c1"), QString()},
                    {QStringLiteral("r1"), QStringLiteral("a"), QStringLiteral("b")},
                    {QString(), QStringLiteral("c"), QStringLiteral("d")}});
        grid.SetSelection({1, 1, 2, 2});
        Trigger(grid, "mnItemCopy");
        QCOMPARE(ClipboardText(), QStringLiteral("a\tb\r\nc\td\r\n"));

        const QString whole = QStringLiteral("h\tc1\t\r\nr1\ta\tb\r\n\tc\td\r\n");
        Trigger(grid, "mnItemSelectAll");
        Trigger(grid, "mnItemCopy");
        QCOMPARE(ClipboardText(), whole);

        grid.SetOptions(grid.Options() | goEditing);
        grid.SetSelection({2, 2, 2, 2});
        Trigger(grid, "mnItemCopy");
        QCOMPARE(ClipboardText(), whole);

        QCOMPARE(GridBlockText(grid, 1, 2, 0, 1), QString());
        QCOMPARE(GridBlockText(grid, 2, 1, 2, 1), QStringLiteral("\r\n\r\n"));
    }

    void pasteKeepsSizeOrGrows()
    {
        TQvStringGrid grid;
        grid.SetColCount(2);
        grid.SetRowCount(2);
        PasteTextToGrid(grid, QStringLiteral("x\ty\r\nz"), 1, 1, true);
        QCOMPARE(grid.ColCount(), 2);
        QCOMPARE(grid.RowCount(), 2);
        QCOMPARE(grid.Cell(1, 1), QStringLiteral("x"));

        TQvStringGrid growing;
        growing.SetColCount(2);
        growing.SetRowCount(2);
        PasteTextToGrid(growing, QStringLiteral("x\ty\r\nz"), 1, 1, false);
        QCOMPARE(growing.ColCount(), 3);
        QCOMPARE(growing.RowCount(), 3);
        QCOMPARE(growing.Cell(1, 1), QStringLiteral("x"));
        QCOMPARE(growing.Cell(2, 1), QStringLiteral("y"));
        QCOMPARE(growing.Cell(1, 2), QStringLiteral("z"));
        QVERIFY(!growing.verticalHeaderItem(1)->text().contains(QLatin1Char('3')));
    }

    void finalLineEndAddsNoRowAndFinalTabKeepsTheCell()
    {
        TQvStringGrid grid;
        grid.SetColCount(3);
        grid.SetRowCount(3);
        grid.SetCell(2, 2, QStringLiteral("old"));
        PasteTextToGrid(grid, QStringLiteral("p\tq\r\nr\t"), 1, 1, false);
        QCOMPARE(grid.RowCount(), 3);
        QCOMPARE(grid.Cell(1, 2), QStringLiteral("r"));
        QCOMPARE(grid.Cell(2, 2), QStringLiteral("old"));
        PasteTextToGrid(grid, QStringLiteral("1\t2\r\n3\t4\r\n"), 1, 1, false);
        QCOMPARE(grid.RowCount(), 3);
        QCOMPARE(grid.Cell(2, 2), QStringLiteral("4"));
        PasteTextToGrid(grid, QStringLiteral("a\tb\r"), 1, 2,
                        false);  // a lone final CR ends the text
        QCOMPARE(grid.RowCount(), 3);
        QCOMPARE(grid.Cell(2, 2), QStringLiteral("b"));
    }

    void pasteNeedsEditingOrPermissionAndAvoidsFixedCells()
    {
        TQvStringGrid grid;
        grid.SetColCount(3);
        grid.SetRowCount(3);
        QGuiApplication::clipboard()->setText(QStringLiteral("x\ty"));
        grid.PopupMenu()->Popup(QPoint(0, 0));
        QVERIFY(!grid.PopupMenu()->Item(QStringLiteral("mnItemPaste"))->isEnabled());
        grid.PopupMenu()->close();
        Trigger(grid, "mnItemPaste");
        QCOMPARE(grid.Cell(1, 1), QString());

        grid.SetGoPasteNonEditable(true);
        grid.PopupMenu()->Popup(QPoint(0, 0));
        QVERIFY(grid.PopupMenu()->Item(QStringLiteral("mnItemPaste"))->isEnabled());
        grid.PopupMenu()->close();
        Trigger(grid, "mnItemSelectAll");
        Trigger(grid, "mnItemPaste");
        QCOMPARE(grid.Cell(0, 0), QString());
        QCOMPARE(grid.Cell(1, 1), QStringLiteral("x"));
        QCOMPARE(grid.Cell(2, 1), QStringLiteral("y"));
        QCOMPARE(grid.ColCount(), 3);
    }

    void savesCsvWithQuotingOnlyForCommas()
    {
        QTemporaryDir folder;
        const QString fileName = folder.filePath(QStringLiteral("grid.csv"));
        TQvStringGrid grid;
        Fill(grid, {{QString(), QStringLiteral("Größe")},
                    {QStringLiteral("1,5"), QStringLiteral("say \"hi\"")}});
        TScriptedDialogs dialogs;
        ScopedDialogs installed(dialogs);
        dialogs.AnswerFile(fileName.toStdString());
        Trigger(grid, "mnSaveCSV");
        QCOMPARE(dialogs.FileRequests().at(0).Filter,
                 std::string("comma-separated values (*.csv)|*.CSV"));
        QCOMPARE(dialogs.FileRequests().at(0).DefaultExt, std::string("csv"));
        QFile file(fileName);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), QStringLiteral(",Größe\r\n\"1,5\",say \"hi\"\r\n").toUtf8());

        dialogs.AnswerFile(std::nullopt);
        QVERIFY(QFile::remove(fileName));
        Trigger(grid, "mnSaveCSV");
        QVERIFY(!QFile::exists(fileName));
        QVERIFY(dialogs.Messages().empty());
    }

    void reportsAFileThatCannotBeWritten()
    {
        TScriptedDialogs dialogs;
        ScopedDialogs installed(dialogs);
        TQvStringGrid grid;
        const QString fileName = QStringLiteral("/nonexistent-folder/grid.csv");
        grid.SaveToCSV(fileName);
        QCOMPARE(dialogs.Messages().size(), std::size_t{1});
        QCOMPARE(dialogs.Messages()[0].Text, "Unable to write to file:\n" + fileName.toStdString());
        QCOMPARE(dialogs.Messages()[0].Type, TMsgDlgType::mtError);
        QCOMPARE(dialogs.Messages()[0].Buttons, TMsgDlgButtons{mbOK});
    }

    void fitColumnTakesTheRestButAtLeast30()
    {
        TQvStringGrid grid;
        grid.SetColCount(3);
        grid.resize(400, 200);
        grid.show();
        QVERIFY(QTest::qWaitForWindowExposed(&grid, kHangGuardMs));
        grid.SetFitColToWidth(2);
        const int client = grid.width() - 2 * grid.frameWidth();
        QCOMPARE(grid.ColWidth(2), client - grid.ColWidth(0) - grid.ColWidth(1));
        grid.resize(500, 200);
        QTRY_COMPARE_WITH_TIMEOUT(grid.ColWidth(2),
                                  client + 100 - grid.ColWidth(0) - grid.ColWidth(1), kHangGuardMs);
        grid.SetColWidth(1, 1000);
        QCOMPARE(grid.ColWidth(2), 30);
        grid.SetFitColToWidth(0);  // the title column follows the same rule
        QCOMPARE(grid.ColWidth(0), 30);
        grid.SetFitColToWidth(7);
        QCOMPARE(grid.ColWidth(0), 30);
    }

    void sortsRowsWithTheirObjects()
    {
        TQvStringGrid grid;
        Fill(grid, {{QString(), QStringLiteral("key")},
                    {QStringLiteral("1"), QStringLiteral("b")},
                    {QStringLiteral("2"), QStringLiteral("B")},
                    {QStringLiteral("3"), QStringLiteral("c")},
                    {QStringLiteral("4"), QStringLiteral("a")}});
        TTag tags[4];
        for (int row = 1; row <= 4; ++row)
            grid.SetObject(0, row, &tags[row - 1]);
        SortGridByColumn(grid, 1, true);
        QCOMPARE(Column(grid, 1), QStringLiteral("key|B|a|b|c"));
        QCOMPARE(Column(grid, 0), QStringLiteral("|2|4|1|3"));
        QCOMPARE(grid.Object(0, 1), &tags[1]);
        QCOMPARE(grid.Object(0, 4), &tags[2]);
        SortGridByColumn(grid, 1, false);
        SortGridByColumn(grid, 1, false);
        QCOMPARE(Column(grid, 1), QStringLiteral("key|c|b|a|B"));
        QCOMPARE(grid.Object(0, 1), &tags[2]);
        QVERIFY(grid.updatesEnabled());

        TQvStringGrid onlyFixed;
        onlyFixed.SetRowCount(1);
        onlyFixed.SetCell(1, 0, QStringLiteral("title"));
        SortGridByColumn(onlyFixed, 1, false);
        QCOMPARE(onlyFixed.RowCount(), 1);
        QCOMPARE(onlyFixed.Cell(1, 0), QStringLiteral("title"));
    }

    void draggingARowTitleMovesTheRow()
    {
        TQvStringGrid grid;
        grid.SetOptions(grid.Options() | goRowMoving);
        Fill(grid, {{QString(), QString()},
                    {QStringLiteral("1"), QStringLiteral("a")},
                    {QStringLiteral("2"), QStringLiteral("b")},
                    {QStringLiteral("3"), QStringLiteral("c")}});
        QSignalSpy moved(&grid, &TQvStringGrid::RowMoved);
        grid.verticalHeader()->moveSection(0, 2);
        QCOMPARE(Column(grid, 1), QStringLiteral("|b|c|a"));
        QCOMPARE(Column(grid, 0), QStringLiteral("|2|3|1"));
        QCOMPARE(grid.verticalHeader()->visualIndex(0), 0);
        QCOMPARE(moved.count(), 1);
        QCOMPARE(moved[0][0].toInt(), 1);
        QCOMPARE(moved[0][1].toInt(), 3);
    }

    // Entered by Tab, the grid makes the first cell that takes input current
    // when none is, brings a current cell scrolled out of view into view, and
    // marks it and its own frame while it has the focus.
    void tabShowsTheCellTypingGoesTo()
    {
        QWidget window;
        auto* before = new QLineEdit(&window);
        auto* grid = new TQvStringGrid(&window);
        grid->setGeometry(0, 30, 300, 200);
        grid->SetRowCount(40);
        grid->SetFixedCols(2);
        window.show();
        QApplication::setActiveWindow(&window);
        QVERIFY(QTest::qWaitForWindowActive(&window, kHangGuardMs));
        QTest::keyClick(before, Qt::Key_Tab);
        QCOMPARE(grid->CurrentCell(), QPoint(2, 1));
        grid->setCurrentCell(38, 2);
        grid->scrollToTop();
        before->setFocus(Qt::TabFocusReason);
        QTest::keyClick(before, Qt::Key_Tab);
        const QImage focused = grid->grab().toImage();
        before->setFocus();
        const QImage unfocused = grid->grab().toImage();
        const QRect cell = grid->visualRect(grid->currentIndex());
        QVERIFY(grid->viewport()->rect().contains(cell));
        for (const QRect& mark : {cell.translated(grid->viewport()->pos()), QRect(0, 0, 1, 200)})
            QVERIFY(focused.copy(mark) != unfocused.copy(mark));
    }

    void drawCellHookSeesGridCoordinates()
    {
        TQvStringGrid grid;
        grid.SetColCount(3);
        grid.SetRowCount(3);
        std::set<std::pair<int, int>> drawn;
        grid.OnDrawCell = [&drawn](QPainter&, int col, int row, const QRect&, TGridDrawState) {
            drawn.insert({col, row});
        };
        grid.resize(300, 200);
        grid.grab();
        const std::set<std::pair<int, int>> dataCells = {{1, 1}, {2, 1}, {1, 2}, {2, 2}};
        QCOMPARE(drawn, dataCells);
    }
};

WQ_REGISTER_TEST(GridTest);

#include "grid_test.moc"
