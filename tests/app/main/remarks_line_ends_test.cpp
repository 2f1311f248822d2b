// The line ends that remarks are stored with: CR LF between the lines in the
// main window and the station forms, CR LF after every line in the table
// forms; each window shows its remarks again as the user typed them.

#include <QDialog>
#include <QPlainTextEdit>
#include <QtTest>

#include "app/forms/ozr_reservoirs.h"
#include "app/forms/ozr_water_balance.h"
#include "tests/app/app_tests.h"
#include "tests/app/main/main_window_fixture.h"
#include "tests/qt_support/qt_tests.h"

using namespace Qt::Literals::StringLiterals;

namespace {

// Opens the form on the object twice, clicking OK: types the text into the
// remarks the first time; what the remarks show the second.
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

}  // namespace

class RemarksLineEndsTest : public QObject {
    Q_OBJECT

private slots:
    void storeCrLfBetweenOrAfterEveryLine_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("between");     // main window and station form
        QTest::addColumn<QString>("afterEvery");  // table form
        QTest::addColumn<QString>("tableShows");
        QTest::newRow("one line") << u"Operator data"_s << u"Operator data"_s
                                  << u"Operator data\r\n"_s << u"Operator data"_s;
        QTest::newRow("two lines") << u"first\nsecond"_s << u"first\r\nsecond"_s
                                   << u"first\r\nsecond\r\n"_s << u"first\nsecond"_s;
        QTest::newRow("ending in a break") << u"Operator data\n"_s << u"Operator data\r\n"_s
                                           << u"Operator data\r\n"_s << u"Operator data"_s;
    }

    void storeCrLfBetweenOrAfterEveryLine()
    {
        QFETCH(QString, typed);
        QFETCH(QString, between);
        QFETCH(QString, afterEvery);
        QFETCH(QString, tableShows);
        TMainWindowSetup setup;
        setup.PickCountry(0);
        auto& memo = *setup.Find<QPlainTextEdit>("memoRemarks");
        memo.setPlainText(typed);
        setup.Main().StoreSessionInfo();
        memo.clear();
        setup.Main().ShowSessionInfo();
        TRegion* country = CurrentSession().GetCountry();
        auto* reservoir = new TReservoir(country, "R1");
        reservoir->FLatitude = reservoir->FLongitude = 1;
        reservoir->FReservoirType = rsManMade;
        const QStringList shown = {memo.toPlainText(),
                                   TypeAndReopen<TFormReservoirs>(setup, reservoir, typed),
                                   TypeAndReopen<TFormWaterBalance>(setup, country, typed)};
        const QStringList stored = {QString::fromStdString(Session->FRemarks),
                                    QString::fromStdString(reservoir->FRemarks),
                                    QString::fromStdString(country->Tables().FWBRemarks)};
        QCOMPARE(stored, QStringList({between, between, afterEvery}));
        QCOMPARE(shown, QStringList({typed, typed, tableShows}));
    }
};

WQ_REGISTER_TEST(RemarksLineEndsTest);
#include "remarks_line_ends_test.moc"
