#include <stdexcept>

#include <QHeaderView>
#include <QPushButton>
#include <QToolButton>
#include <QtTest>

#include "components/frmproperties.h"
#include "platform/exception.h"
#include "platform/rtti.h"
#include "platform/scripted_dialogs.h"
#include "tests/qt_support/qt_tests.h"

namespace {

// A little class tree like the model's stations: a read-only ID in the base
// class, then values of each kind the table knows.
class TSite : public TObject {
public:
    static const TClassInfo kInfo;
    const TClassInfo* ClassInfo() const override { return &kInfo; }
    std::string id;
};

class TGauge : public TSite {
public:
    static const TClassInfo kInfo;
    const TClassInfo* ClassInfo() const override { return &kInfo; }
    // Registers in the list and leaves it when freed, as stations do.
    TGauge(TList& list, std::string name, std::int64_t count, double level) : list_(list)
    {
        id = std::move(name);
        this->count = count;
        this->level = level;
        list_.Add(this);
    }
    ~TGauge() override { list_.Remove(this); }

    std::int64_t count;
    double level;

private:
    TList& list_;
};

template <typename Value>
std::function<TPropValue(const TObject&)> Getter(Value (*read)(const TGauge&))
{
    return [read](const TObject& object) {
        return TPropValue{read(static_cast<const TGauge&>(object))};
    };
}

const TClassInfo TSite::kInfo{
    "TSite",
    nullptr,
    {{"ID_", TTypeKind::tkLString,
      [](const TObject& object) { return TPropValue{static_cast<const TSite&>(object).id}; },
      false}}};

const TClassInfo TGauge::kInfo{
    "TGauge",
    &TSite::kInfo,
    {{"Count", TTypeKind::tkInteger, Getter<std::int64_t>([](const TGauge& g) { return g.count; }),
      true},
     {"Level", TTypeKind::tkFloat, Getter<double>([](const TGauge& g) { return g.level; }), true},
     {"Kind", TTypeKind::tkEnumeration,
      Getter<std::int64_t>([](const TGauge&) { return std::int64_t{2}; }), true},
     {"Note", TTypeKind::tkUString,
      Getter<std::string>([](const TGauge&) { return std::string("wide"); }), true}}};

QString Column(const TQvStringGrid& grid, int col)
{
    QStringList cells;
    for (int row = 0; row < grid.RowCount(); ++row)
        cells << grid.Cell(col, row);
    return cells.join(QLatin1Char('|'));
}

QStringList Ids(const TList& list)
{
    QStringList ids;
    for (TObject* object : list)
        ids << QString::fromStdString(static_cast<TSite*>(object)->id);
    return ids;
}

void ClickTitle(TQvStringGrid& grid, int col)
{
    QHeaderView* header = grid.horizontalHeader();
    const int x = header->sectionViewportPosition(col - 1) + header->sectionSize(col - 1) / 2;
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, QPoint(x, header->height() / 2));
}

// Drags a row by its number cell, as the user does.
void DragRow(TQvStringGrid& grid, int fromSection, int toSection)
{
    QHeaderView* header = grid.verticalHeader();
    const auto centre = [header](int section) {
        return QPoint(header->width() / 2,
                      header->sectionViewportPosition(section) + header->sectionSize(section) / 2);
    };
    const QPoint to = centre(toSection) + QPoint(0, header->sectionSize(toSection) / 3);
    QTest::mousePress(header->viewport(), Qt::LeftButton, {}, centre(fromSection));
    QTest::mouseMove(header->viewport(), (centre(fromSection) + to) / 2);
    QTest::mouseMove(header->viewport(), to);
    QTest::mouseRelease(header->viewport(), Qt::LeftButton, {}, to);
}

QToolButton* Button(TPropertiesDialog& dialog, const char* name)
{
    return dialog.Form()->findChild<QToolButton*>(QLatin1String(name));
}

QColor PixelOfCell(TQvStringGrid& grid, int col, int row)
{
    const QRect cell = grid.visualRect(grid.model()->index(row - 1, col - 1));
    return grid.viewport()->grab().toImage().pixelColor(cell.right() - 3, cell.center().y());
}

}  // namespace

class PropertiesDialogTest : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        dialogs_ = std::make_unique<TScriptedDialogs>();
        installed_ = std::make_unique<ScopedDialogs>(*dialogs_);
    }
    void cleanup()
    {
        installed_.reset();
        dialogs_.reset();
    }

    void emptyListShowsTitlesAndOneBlankRow()
    {
        TPropertiesDialog dialog;
        TList list;
        int edits = 0;
        dialog.EditProc = [&edits](TObject*) { return ++edits > 0; };
        dialog.RestoreProc = dialog.EditProc;
        dialog.executeDontShow(&TGauge::kInfo, list);
        TQvStringGrid& grid = *dialog.Form()->StrGrdProp();
        QCOMPARE(grid.RowCount(), 2);
        QCOMPARE(grid.ColCount(), 6);
        QStringList titles;
        for (int col = 1; col < grid.ColCount(); ++col)
            titles << grid.Cell(col, 0);
        QCOMPARE(titles.join(QLatin1Char(',')), QStringLiteral("ID_,Count,Level,Kind,Note"));
        Button(dialog, "ToolButton1")->click();
        Button(dialog, "BtnRestore")->click();
        Button(dialog, "BtnDelete")->click();
        QCOMPARE(edits, 0);
        QVERIFY(dialogs_->Messages().empty());
        QVERIFY(Button(dialog, "BtnGet")->isHidden());
        QVERIFY(Button(dialog, "BtnRestore")->isHidden());
    }

    void showsValuesByKindAndNoValueAsBlank()
    {
        TPropertiesDialog dialog;
        TList list;
        TGauge blank(list, "A", -31111, -31111.0);
        TGauge missing(list, "B", -9999, 2.5);
        dialog.executeDontShow(&TGauge::kInfo, list);
        const TQvStringGrid& grid = *dialog.Form()->StrGrdProp();
        QCOMPARE(Column(grid, 0), QStringLiteral("|1|2"));
        QCOMPARE(grid.Object(0, 2), &missing);
        QCOMPARE(Column(grid, 2), QStringLiteral("Count||-9999"));
        QCOMPARE(Column(grid, 3), QStringLiteral("Level||2.5"));
        QCOMPARE(Column(grid, 4), QStringLiteral("Kind|2|2"));
        QCOMPARE(Column(grid, 5), QStringLiteral("Note||"));
        QCOMPARE(TFrmPropertiesDlg::GetPropertyText(blank, QStringLiteral("Unknown")), QString());
    }

    void greysReadOnlyCells()
    {
        TPropertiesDialog dialog;
        TList list;
        TGauge first(list, "A", 1, 1.0);
        TGauge second(list, "B", 2, 2.0);
        dialog.executeDontShow(&TGauge::kInfo, list);
        TQvStringGrid& grid = *dialog.Form()->StrGrdProp();
        QVERIFY(TFrmPropertiesDlg::IsReadOnlyProperty(grid, 1, 2));
        QVERIFY(!TFrmPropertiesDlg::IsReadOnlyProperty(grid, 2, 2));
        QVERIFY(!TFrmPropertiesDlg::IsReadOnlyProperty(grid, -1, 2));
        grid.resize(500, 200);
        const QColor readOnly = PixelOfCell(grid, 1, 2);
        const QColor writable = PixelOfCell(grid, 2, 2);
        QCOMPARE(writable, QColor(0xFF, 0xFB, 0xF0));
        QVERIFY(readOnly != writable);
        QCOMPARE(PixelOfCell(grid, 2, 1), QColor(0x00, 0x40, 0x80));  // the selected row
    }

    void titleClicksSortUpThenDownWithoutTouchingTheList()
    {
        TPropertiesDialog dialog;
        TList list;
        TGauge b(list, "b", 3, 1.0);
        TGauge a(list, "a", 1, 2.0);
        TGauge c(list, "c", 2, 3.0);
        dialog.executeDontShow(&TGauge::kInfo, list);
        TQvStringGrid& grid = *dialog.Form()->StrGrdProp();
        grid.resize(600, 300);
        ClickTitle(grid, 1);
        QCOMPARE(Column(grid, 1), QStringLiteral("ID_|a|b|c"));
        QCOMPARE(Column(grid, 0), QStringLiteral("|2|1|3"));
        ClickTitle(grid, 2);
        QCOMPARE(Column(grid, 2), QStringLiteral("Count|3|2|1"));
        QCOMPARE(Ids(list).join(QString()), QStringLiteral("bac"));
    }

    void reorderingRenumbersAndReordersTheList()
    {
        TPropertiesDialog dialog;
        dialog.SetReorderAllowed(true);
        TList list;
        TGauge b(list, "b", 3, 1.0);
        TGauge a(list, "a", 1, 2.0);
        TGauge c(list, "c", 2, 3.0);
        dialog.executeDontShow(&TGauge::kInfo, list);
        TQvStringGrid& grid = *dialog.Form()->StrGrdProp();
        QVERIFY(grid.Options() & goRowMoving);
        dialog.Form()->show();
        QVERIFY(QTest::qWaitForWindowExposed(dialog.Form(), kHangGuardMs));
        ClickTitle(grid, 1);
        QCOMPARE(Column(grid, 0), QStringLiteral("|1|2|3"));
        QCOMPARE(Ids(list).join(QString()), QStringLiteral("abc"));
        DragRow(grid, 0, 2);
        QCOMPARE(Column(grid, 1), QStringLiteral("ID_|b|c|a"));
        QCOMPARE(Column(grid, 0), QStringLiteral("|1|2|3"));
        QCOMPARE(Ids(list).join(QString()), QStringLiteral("bca"));

        dialog.SetReorderAllowed(false);
        dialog.executeDontShow(&TGauge::kInfo, list);
        QVERIFY(!(grid.Options() & goRowMoving));
    }

    void slotsRunOnTheSelectedObjectOrReportUnsupported()
    {
        TPropertiesDialog dialog;
        TList list;
        TGauge a(list, "a", 1, 1.0);
        TGauge b(list, "b", 2, 2.0);
        dialog.executeDontShow(&TGauge::kInfo, list);
        TQvStringGrid& grid = *dialog.Form()->StrGrdProp();
        grid.SetSelection({1, 2, 5, 2});
        Button(dialog, "ToolButton1")->click();
        QCOMPARE(dialogs_->Texts(), std::vector<std::string>{"Operation not supported"});
        QCOMPARE(dialogs_->Messages()[0].Type, TMsgDlgType::mtWarning);

        dialog.EditProc = [](TObject* object) {
            static_cast<TGauge*>(object)->count = 42;
            return true;
        };
        Button(dialog, "ToolButton1")->click();
        QCOMPARE(grid.Cell(2, 2), QStringLiteral("42"));
        QCOMPARE(a.count, 1);

        dialog.RestoreProc = [](TObject*) -> bool { throw std::runtime_error("broken"); };
        Button(dialog, "BtnRestore")->click();
        QCOMPARE(dialogs_->Messages().size(), std::size_t{2});

        TGauge* created = nullptr;
        dialog.NewProc = [&list, &created](TObject*& object) {
            created = new TGauge(list, "n", 7, 7.0);
            object = created;
        };
        Button(dialog, "BtnNew")->click();
        QCOMPARE(Column(grid, 1), QStringLiteral("ID_|a|b|n"));
        delete created;
    }

    void doubleClickOpensOnlyBelowTheTitles()
    {
        TPropertiesDialog dialog;
        TList list;
        TGauge a(list, "a", 1, 1.0);
        int edits = 0;
        dialog.EditProc = [&edits](TObject*) { return ++edits > 0; };
        dialog.executeDontShow(&TGauge::kInfo, list);
        TQvStringGrid& grid = *dialog.Form()->StrGrdProp();
        dialog.Form()->show();
        QVERIFY(QTest::qWaitForWindowExposed(dialog.Form(), kHangGuardMs));
        QHeaderView* header = grid.horizontalHeader();
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, QPoint(5, header->height() / 2));
        QTest::mouseDClick(header->viewport(), Qt::LeftButton, {}, QPoint(5, header->height() / 2));
        QCOMPARE(edits, 0);
        const QRect cell = grid.visualRect(grid.model()->index(0, 1));
        QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, cell.center());
        QTest::mouseDClick(grid.viewport(), Qt::LeftButton, {}, cell.center());
        QCOMPARE(edits, 1);
    }

    void deleteFreesTheSelectedObject()
    {
        TPropertiesDialog dialog;
        TList list;
        TGauge a(list, "a", 1, 1.0);
        new TGauge(list, "doomed", 2, 2.0);
        auto* unregistered = new TSite;
        unregistered->id = "loose";
        list.Add(unregistered);
        dialog.executeDontShow(&TGauge::kInfo, list);
        TQvStringGrid& grid = *dialog.Form()->StrGrdProp();
        grid.SetSelection({1, 2, 5, 2});
        Button(dialog, "BtnDelete")->click();
        QCOMPARE(Ids(list).join(QLatin1Char(',')), QStringLiteral("a,loose"));
        grid.SetSelection({1, 2, 5, 2});
        Button(dialog, "BtnDelete")->click();  // its destructor leaves the list alone
        QCOMPARE(Ids(list).join(QLatin1Char(',')), QStringLiteral("a"));
        QCOMPARE(Column(grid, 1), QStringLiteral("ID_|a"));
    }

    void okAcceptsAndTheCloseBoxDoesNot()
    {
        TPropertiesDialog dialog;
        dialog.SetCaption(QStringLiteral("Wells"));
        TList list;
        TGauge a(list, "a", 1, 1.0);
        dialog.EditProc = [](TObject* object) {
            static_cast<TGauge*>(object)->count = 5;
            return true;
        };
        QString caption;
        OnModal([&caption](QWidget* window) {
            caption = window->windowTitle();
            QTest::mouseClick(window->findChild<QPushButton*>(QStringLiteral("Button1")),
                              Qt::LeftButton);
        });
        QVERIFY(dialog.execute(&TGauge::kInfo, list));
        QCOMPARE(caption, QStringLiteral("Wells"));
        OnModal([](QWidget* window) {
            window->findChild<QToolButton*>(QStringLiteral("ToolButton1"))->click();
            window->close();
        });
        QVERIFY(!dialog.execute(&TGauge::kInfo, list));
        QCOMPARE(a.count, 5);
    }

private:
    std::unique_ptr<TScriptedDialogs> dialogs_;
    std::unique_ptr<ScopedDialogs> installed_;
};

WQ_REGISTER_TEST(PropertiesDialogTest);

#include "properties_dialog_test.moc"
