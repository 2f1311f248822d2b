#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QtTest>

#include "app/diagrams/ozr_diag_abs1.h"
#include "app/diagrams/ozr_diag_abs2.h"
#include "app/diagrams/ozr_diag_abs3.h"
#include "app/diagrams/ozr_diag_abs4.h"
#include "app/diagrams/ozr_diag_abs5.h"
#include "app/diagrams/ozr_diag_wb_return_flow.h"
#include "app/forms/ozr_flow.h"
#include "app/forms/ozr_groundwater.h"
#include "app/forms/ozr_rain_gauge.h"
#include "app/forms/ozr_reservoirs.h"
#include "app/forms/ozr_water_abstractions.h"
#include "app/forms/ozr_water_balance.h"
#include "app/forms/ozr_water_use.h"
#include "app/imports/ozr_io_load_CSV_flow.h"
#include "app/imports/ozr_io_load_CSV_stations.h"
#include "app/wizard/ozr_wizard.h"
#include "components/frmproperties.h"
#include "tests/app/app_tests.h"
#include "tests/app/main/main_window_fixture.h"
#include "tests/qt_support/qt_tests.h"

namespace {

TRegion* Region(const std::string& code, TRegionType type)
{
    TRegion* region = nullptr;
    FindRegion(code, type, region);
    return region;
}

TRegion* Greece()
{
    return Region("GR", rtCountry);
}

TRegion* Cyprus()
{
    return Region("CY", rtCountry);
}

TRegion* Alfeios()
{
    return Region("GR01a", rtSU);
}

QString OverviewCell(int col, int row)
{
    return FormRegions->gridRegions()->Cell(col, row);
}

void DoubleClickOverview(int col, int row)
{
    DoubleClickCell(*FormRegions->gridRegions(), col, row);
}

// The station identifiers a list window shows, top to bottom.
QStringList ListedIDs(const QDialog& list)
{
    const TQvStringGrid& grid = Find<TQvStringGrid>(list, "StrGrdProp");
    QStringList ids;
    for (int row = 1; row < grid.RowCount(); ++row)
        ids << grid.Cell(1, row);
    return ids;
}

void Trigger(TProgramSetup& setup, const char* action)
{
    Find<QAction>(setup.Main(), action).trigger();
}

}  // namespace

class OpeningFormsTest : public QObject {
    Q_OBJECT

private slots:
    void startUpCreatesEveryFormOnceInItsOrderAndFreesThemAll()
    {
        {
            TProgramSetup setup;
            QVERIFY(FormMain->parent() == nullptr);
            const QObjectList children = FormMain->children();
            const QObject* const order[] = {FormWizard,       FormReservoirs,
                                            FormWaterUse,     FormWaterBalance,
                                            FormGroundwater,  FormFlow,
                                            FormRegions,      FormWaterAbs,
                                            FormAbs5,         FormReturnFlowDiagram,
                                            FormAbs4,         FormAbs1,
                                            FormAbs2,         FormAbs3,
                                            FormRainGauge,    FormCSVStationsImport,
                                            FormCSVFlowImport};
            qsizetype previous = -1;
            for (const QObject* form : order) {
                const qsizetype index = children.indexOf(form);
                QVERIFY2(index > previous, qPrintable(form ? form->objectName() : QString()));
                previous = index;
            }
        }
        QVERIFY(FormMain == nullptr && FormRegions == nullptr && FormCSVFlowImport == nullptr);
    }

    void importsAndTheWizardNeedACountry()
    {
        TProgramSetup setup;
        for (const char* command : {"Stations1", "Streamflowdailydata1", "Wizard1", "ToolButton3"})
            Trigger(setup, command);
        QCOMPARE(setup.Dialogs.Texts(),
                 std::vector<std::string>(4, "A country has to be selected first"));
        for (const TScriptedDialogs::Shown& box : setup.Dialogs.Messages())
            QVERIFY(box.Type == TMsgDlgType::mtError && box.Buttons == mbOK);
        QVERIFY(setup.Modal.Shown().isEmpty());
    }

    void importsAndTheWizardShowTheirFormAndThenTheOverview()
    {
        TProgramSetup setup;
        PickCountry(setup.Main(), 0);
        // Each form "enters" a station before it closes, to see the refill.
        const auto enterWellAndClose = [](QDialog& form) {
            new TWell(Alfeios(), "W" + std::to_string(CurrentSession().FWells.Count() + 1));
            form.reject();
        };
        for (int i = 0; i < 4; ++i)
            setup.Modal.Then(enterWellAndClose);
        for (const char* command : {"Stations1", "Streamflowdailydata1", "Wizard1", "ToolButton3"})
            Trigger(setup, command);
        QCOMPARE(setup.Modal.Shown(),
                 (QStringList{QStringLiteral("FormCSVStationsImport"),
                              QStringLiteral("FormCSVFlowImport"), QStringLiteral("FormWizard"),
                              QStringLiteral("FormWizard")}));
        QCOMPARE(OverviewCell(6, 1), QStringLiteral("4"));
        QVERIFY(setup.Dialogs.Messages().empty());
    }

    void listsNeedNoCountryAndOpenTheStationsOfEveryRegion()
    {
        TProgramSetup setup;
        new TWell(Alfeios(), "W1");
        new TWell(Cyprus(), "W2");
        new TReservoir(Greece(), "R1");
        new TStreamFlow(Cyprus(), "Q1");
        new TRainGauge(Alfeios(), "P1");
        struct TCase {
            const char* Command;
            QString Caption;
            QStringList IDs;
            QString StationForm;
        };
        const TCase cases[] = {{"Groundwaterlevel1",
                                QStringLiteral("Groundwater level properties"),
                                {QStringLiteral("W1"), QStringLiteral("W2")},
                                QStringLiteral("FormGroundwater")},
                               {"Listalldata1",
                                QStringLiteral("Reservoir properties"),
                                {QStringLiteral("R1")},
                                QStringLiteral("FormReservoirs")},
                               {"Streamflow1",
                                QStringLiteral("Stream flow properties"),
                                {QStringLiteral("Q1")},
                                QStringLiteral("FormFlow")},
                               {"Precipitation1",
                                QStringLiteral("Precipitation properties"),
                                {QStringLiteral("P1")},
                                QStringLiteral("FormRainGauge")}};
        for (const TCase& list : cases) {
            setup.Modal.Then([&list, &setup](QDialog& window) {
                QCOMPARE(window.windowTitle(), list.Caption);
                QCOMPARE(ListedIDs(window), list.IDs);
                QCOMPARE(Find<TQvStringGrid>(window, "StrGrdProp").Cell(4, 0),
                         QStringLiteral("Region_Type"));
                setup.Modal.Then([](QDialog& station) { Click(station, "btnCancel"); });
                Click(window, "ToolButton1");
                Click(window, "BtnNew");
                window.accept();
            });
            Trigger(setup, list.Command);
            QCOMPARE(setup.Modal.Shown().last(), list.StationForm);
        }
        QVERIFY(setup.Modal.AllScriptsUsed());
        QCOMPARE(setup.Dialogs.Texts(), std::vector<std::string>(4, "Operation not supported"));
    }

    void aStationDeletedFromAListLeavesTheOverview()
    {
        TProgramSetup setup;
        new TReservoir(Alfeios(), "R1");
        FormRegions->FillRegionsGrid();
        QCOMPARE(OverviewCell(7, 1), QStringLiteral("1"));
        setup.Modal.Then([](QDialog& window) {
            Click(window, "BtnDelete");
            window.accept();
        });
        Trigger(setup, "Listalldata1");
        QCOMPARE(CurrentSession().FReservoirs.Count(), 0);
        QCOMPARE(OverviewCell(7, 1), QString());
    }

    void waterBalanceOpensOnTheCountryAndItsMarksFollowTheStoredTables()
    {
        TProgramSetup setup;
        new TWell(Greece(), "W1");
        FormRegions->FillRegionsGrid();
        setup.Main().show();
        setup.Modal.Then([](QDialog& form) {
            QCOMPARE(form.objectName(), QStringLiteral("FormWaterBalance"));
            QCOMPARE(Find<QLineEdit>(form, "edtRegionCode").text(), QStringLiteral("GR"));
            Find<TQvStringGrid>(form, "gridData2").SetCell(1, 16, QStringLiteral("12.5"));
            Click(form, "btnInput");
            QCOMPARE(form.result(), int(QDialog::Accepted));
        });
        QCOMPARE(OverviewCell(3, 1), QString());
        DoubleClickOverview(3, 1);
        QVERIFY(setup.Modal.AllScriptsUsed());
        QCOMPARE(OverviewCell(3, 1), QStringLiteral("YES"));
        QCOMPARE(OverviewCell(4, 1), QString());
    }

    void stationColumnsListEveryRegionsStationsOfTheirKind()
    {
        TProgramSetup setup;
        new TReservoir(Alfeios(), "R1");
        new TReservoir(Cyprus(), "R2");
        new TWell(Alfeios(), "W1");
        FormRegions->FillRegionsGrid();
        setup.Main().show();
        QCOMPARE(OverviewCell(1, 2), QStringLiteral("Cyprus"));
        setup.Modal.Then([](QDialog& window) {
            QCOMPARE(&window, FormRegions->PropDlg().Form());
            QCOMPARE(window.windowTitle(), QStringLiteral("Reservoir properties"));
            QCOMPARE(ListedIDs(window), (QStringList{QStringLiteral("R1"), QStringLiteral("R2")}));
            window.accept();
        });
        setup.Modal.Then([](QDialog& window) {
            QCOMPARE(window.windowTitle(), QStringLiteral("Groundwater level properties"));
            QCOMPARE(ListedIDs(window), QStringList{QStringLiteral("W1")});
            window.accept();
        });
        DoubleClickOverview(7, 1);
        DoubleClickOverview(6, 2);
        QVERIFY(setup.Modal.AllScriptsUsed());
    }

    void eitherRowOfASubUnitCodeHeldTwiceOpensTheFirstSubUnit()
    {
        TProgramSetup setup;
        auto* second = new TRegion(new TRegion(Greece(), rtRBD, "GR02"), rtSU, "GR01a", "Ladon");
        new TWell(Alfeios(), "W1");
        new TWell(second, "W2");
        FormRegions->FillRegionsGrid();
        setup.Main().show();
        QCOMPARE(OverviewCell(1, 2), QStringLiteral("Ladon"));
        for (int i = 0; i < 2; ++i)
            setup.Modal.Then([](QDialog& form) {
                QCOMPARE(Find<QLineEdit>(form, "edtRegionDescription").text(),
                         QStringLiteral("Alfeios"));
                Click(form, "btnCancel");
            });
        DoubleClickOverview(5, 2);
        DoubleClickOverview(4, 1);
        QCOMPARE(setup.Modal.Shown(),
                 (QStringList{QStringLiteral("FormWaterUse"), QStringLiteral("FormWaterAbs")}));
    }

    // Tab into the overview makes its first data cell current; Enter opens
    // what the current cell stands for.
    void enterOpensWhatTheCurrentCellStandsFor()
    {
        TProgramSetup setup;
        new TWell(Alfeios(), "W1");
        FormRegions->FillRegionsGrid();
        setup.Main().show();
        QApplication::setActiveWindow(&setup.Main());
        QVERIFY(QTest::qWaitForWindowActive(&setup.Main(), kHangGuardMs));
        Find<QWidget>(setup.Main(), "memoRemarks").setFocus(Qt::TabFocusReason);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        for (int step = 0; step < 3; ++step)
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Right);
        setup.Modal.Then([](QDialog& window) {
            QCOMPARE(window.windowTitle(), QStringLiteral("Groundwater level properties"));
        });
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QVERIFY(setup.Modal.AllScriptsUsed());
    }

    void nameColumnAndTheEmptyRowOpenNothing()
    {
        TProgramSetup setup;
        setup.Main().show();
        // The one row of an overview without data: no form and no error.
        for (int col = 1; col <= 9; ++col)
            DoubleClickOverview(col, 1);
        QVERIFY(setup.Dialogs.Messages().empty());

        new TWell(Alfeios(), "W1");
        DoubleClickOverview(1, 1);
        QCOMPARE(OverviewCell(1, 1), QStringLiteral("Alfeios"));
        new TWell(Cyprus(), "W2");
        DoubleClickOverview(2, 1);
        QCOMPARE(FormRegions->gridRegions()->RowCount(), 3);
        QVERIFY(setup.Modal.Shown().isEmpty());
    }
};

WQ_REGISTER_TEST(OpeningFormsTest);
#include "opening_forms_test.moc"
