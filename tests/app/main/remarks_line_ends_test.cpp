// The line ends that remarks are stored with: CR LF between the lines in the
// main window and the station forms, CR LF after every line in the table
// forms; each shows its remarks again as they were typed.

#include <QDialog>
#include <QPlainTextEdit>
#include <QtTest>

#include "app/forms/ozr_reservoirs.h"
#include "app/forms/ozr_water_balance.h"
#include "tests/app/app_tests.h"
#include "tests/app/main/main_window_fixture.h"
#include "tests/qt_support/qt_tests.h"

namespace {

// Types the text into the window's remarks and stores them; the remarks as
// stored, and the text the box shows when the window shows them again.
using TStoreAndShow = std::pair<std::string, QString> (*)(TMainWindowSetup&, const QString&);

std::pair<std::string, QString> MainWindow(TMainWindowSetup& setup, const QString& text)
{
    auto& memo = *setup.Find<QPlainTextEdit>("memoRemarks");
    memo.setPlainText(text);
    setup.Main().StoreSessionInfo();
    memo.clear();
    setup.Main().ShowSessionInfo();
    return {Session->FRemarks, memo.toPlainText()};
}

// Opens the form on the object twice: types the text the first time and
// reads the box the second, clicking OK both times.
template <typename TForm, typename TObject>
QString TypeAndReopen(TMainWindowSetup& setup, TObject* object, const QString& text)
{
    QString shown;
    setup.Modal.Then([&text](QDialog& form) {
        Find<QPlainTextEdit>(form, "Memo1").setPlainText(text);
        Click(form, "btnInput");
    });
    setup.Modal.Then([&shown](QDialog& form) {
        shown = Find<QPlainTextEdit>(form, "Memo1").toPlainText();
        Click(form, "btnInput");
    });
    TForm form;
    form.Edit(object);
    form.Edit(object);
    return shown;
}

std::pair<std::string, QString> StationForm(TMainWindowSetup& setup, const QString& text)
{
    auto* reservoir = new TReservoir(CurrentSession().GetCountry(), "R1");
    reservoir->FLatitude = reservoir->FLongitude = 1;
    reservoir->FReservoirType = rsManMade;
    const QString shown = TypeAndReopen<TFormReservoirs>(setup, reservoir, text);
    return {reservoir->FRemarks, shown};
}

std::pair<std::string, QString> TableForm(TMainWindowSetup& setup, const QString& text)
{
    TRegion* country = CurrentSession().GetCountry();
    const QString shown = TypeAndReopen<TFormWaterBalance>(setup, country, text);
    return {country->Tables().FWBRemarks, shown};
}

struct TCase {
    const char* Name;
    TStoreAndShow Window;
    const char* Typed;
    std::string Stored;
    const char* Shown;
};

const TCase kCases[] = {
    {"main window, one line", MainWindow, "Operator data", "Operator data", "Operator data"},
    {"main window, two lines", MainWindow, "first\nsecond", "first\r\nsecond", "first\nsecond"},
    {"main window, ending in a break", MainWindow, "Operator data\n", "Operator data\r\n",
     "Operator data\n"},
    {"station form, one line", StationForm, "Operator data", "Operator data", "Operator data"},
    {"station form, two lines", StationForm, "first\nsecond", "first\r\nsecond", "first\nsecond"},
    {"station form, ending in a break", StationForm, "Operator data\n", "Operator data\r\n",
     "Operator data\n"},
    {"table form, one line", TableForm, "Operator data", "Operator data\r\n", "Operator data"},
    {"table form, two lines", TableForm, "first\nsecond", "first\r\nsecond\r\n", "first\nsecond"},
    {"table form, ending in a break", TableForm, "Operator data\n", "Operator data\r\n",
     "Operator data"},
};

}  // namespace

class RemarksLineEndsTest : public QObject {
    Q_OBJECT

private slots:
    void storeCrLfBetweenOrAfterEveryLine_data()
    {
        QTest::addColumn<int>("index");
        for (std::size_t i = 0; i < std::size(kCases); ++i)
            QTest::newRow(kCases[i].Name) << static_cast<int>(i);
    }

    void storeCrLfBetweenOrAfterEveryLine()
    {
        QFETCH(int, index);
        const TCase& each = kCases[index];
        TMainWindowSetup setup;
        setup.PickCountry(0);
        const auto [stored, shown] = each.Window(setup, QString::fromUtf8(each.Typed));
        QCOMPARE(stored, each.Stored);
        QCOMPARE(shown, QString::fromUtf8(each.Shown));
    }
};

WQ_REGISTER_TEST(RemarksLineEndsTest);
#include "remarks_line_ends_test.moc"
