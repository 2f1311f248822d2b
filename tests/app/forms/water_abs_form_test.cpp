#include <QClipboard>
#include <QGuiApplication>
#include <QRegularExpression>

#include "app/diagrams/ozr_diag_abs1.h"
#include "app/diagrams/ozr_diag_abs2.h"
#include "app/diagrams/ozr_diag_abs3.h"
#include "app/diagrams/ozr_diag_abs4.h"
#include "app/diagrams/ozr_diag_abs5.h"
#include "app/diagrams/ozr_diag_wb_return_flow.h"
#include "app/forms/ozr_water_abstractions.h"
#include "app/forms/ozr_water_balance.h"
#include "app/forms/ozr_water_use.h"
#include "tests/app/forms/table_form_tests.h"
#include "tests/qt_support/qt_tests.h"

class WaterAbsFormTest : public QObject {
    Q_OBJECT

private slots:
    // Loading, pasting, "Clear table", CLEAR ALL and typing (at once) keep
    // both views equal. A bad value in a pair is reported for each of its two
    // tables; parts that do not add up to their total are no error.
    void bothViewsOfTheSelfSupplyTotalsStayEqual()
    {
        TTableFormBed<TFormWaterAbs> bed;
        bed.Tables().FWAAbstractionForSelfSupplyTotalSW[0][0] = 5;
        bed.Tables().FWAAbstractionForSelfSupplyTotalGW[0][1] = 6;
        QStringList seen;
        const QStringList findings = bed.OkWith([&seen](QDialog& w) {
            w.show();
            TQvStringGrid& self = Grid(w, "GridDataSelf");
            seen << self.Cell(2, 1) << self.Cell(3, 2);
            QGuiApplication::clipboard()->setText(QStringLiteral("1\r\n2\r\n"));
            Grid(w, "GridDataSelfSW").PasteFromClipboard(1, 3);
            seen << self.Cell(2, 3) << self.Cell(2, 4);
            Click(w, "BitBtn9");
            seen << self.Cell(2, 1) << self.Cell(2, 3) << self.Cell(3, 2);
            SetCells(w, "GridDataSelfGW", {{1, 5, "8"}});
            Click(w, "BitBtnClear");
            seen << self.Cell(3, 5);
            self.edit(self.model()->index(12, 1));  // as a key press on the cell does
            auto* editor = self.viewport()->findChild<QLineEdit*>();
            QVERIFY(editor);
            QTest::keyClicks(editor, QStringLiteral("40"));
            seen << Grid(w, "GridDataSelfSW").Cell(1, 13);
            QTest::keyClick(editor, Qt::Key_Return);
            QTRY_COMPARE_WITH_TIMEOUT(self.Cell(2, 13), QStringLiteral("40"), kHangGuardMs);
            SetCells(w, "GridDataSelfGW", {{1, 1, "abc"}});
            Click(w, "btnInput");
            SetCells(w, "GridDataSelfGW", {{1, 1, ""}});
            SetCells(w, "gridDataTot", {{1, 13, "100"}, {2, 13, "30"}});
        });
        QCOMPARE(seen, Strings({"5", "6", "1", "2", "", "", "6", "", "40"}));
        const std::string number = "A positive real number or zero is expected for the field: ";
        QCOMPARE(findings, QStringList({Error(number + "FW for self-supply (Total)"),
                                        Error(number + "FW for self-supply (from GW)")}));
        QCOMPARE(bed.Tables().FWAAbstractionForSelfSupplyTotalSW[0][AnnualIndex], 40.0);
        QCOMPARE(bed.Tables().FWATotalAbstraction[AnnualIndex], 100.0);
    }

    // A source shown for one region is not left over for the next; sectors
    // without a column keep their values through CLEAR ALL.
    void sourcesFollowTheRegionAndUnshownSectorsSurvive()
    {
        TTableFormBed<TFormWaterAbs> bed;
        bed.Tables().FWANonFWSource[3] = nfsLagoon;
        bed.OkWith([](QDialog& w) {
            QCOMPARE(Find<QComboBox>(w, "ComboBox4").currentText(), QStringLiteral("Lagoon"));
        });
        auto* other = new TRegion(bed.Country, rtNUTS1, "GR1");
        TRegionTables& tables = other->EditTables();
        tables.FWANonFreshwater[6][AnnualIndex] = 7.5;
        bed.OkWith(
            [](QDialog& w) {
                const auto boxes =
                    w.findChildren<QComboBox*>(QRegularExpression(QStringLiteral("^ComboBox")));
                QCOMPARE(std::ranges::count(boxes, -1, &QComboBox::currentIndex), 11);
                Click(w, "BitBtnClear");
                Find<QComboBox>(w, "ComboBox2").setCurrentText(QStringLiteral("Marine"));
            },
            other);
        QCOMPARE(tables.FWANonFWSource[1], nfsMarine);
        QCOMPARE(std::ranges::count(tables.FWANonFWSource, nfsUnknown), 10);
        QCOMPARE(tables.FWANonFreshwater[6][AnnualIndex], 7.5);
        QCOMPARE(tables.FWAYear, 2008);
    }

    // Each table form opens its own help topic, and its diagram buttons the
    // diagram of their page.
    void helpAndDiagramButtons()
    {
        TRecordedHelp help;
        TFormAbs1 abs1;
        TFormAbs2 abs2;
        TFormAbs3 abs3;
        TFormAbs4 abs4;
        TFormAbs5 abs5;
        TFormReturnFlowDiagram returnFlow;
        FormAbs1 = &abs1, FormAbs2 = &abs2, FormAbs3 = &abs3, FormAbs4 = &abs4, FormAbs5 = &abs5;
        FormReturnFlowDiagram = &returnFlow;
        // Help first; each diagram then opens and is closed.
        const auto press = [](TScriptedModal& modal, std::initializer_list<const char*> diagrams) {
            return [&modal, diagrams](QDialog& w) {
                Click(w, "BitBtn6");
                for (const char* button : diagrams) {
                    modal.Then([](QDialog& diagram) { diagram.reject(); });
                    Click(w, button);
                }
            };
        };
        TTableFormBed<TFormWaterAbs> abstraction;
        abstraction.OkWith(
            press(abstraction.Modal, {"BitBtn1", "BitBtn2", "BitBtn3", "BitBtn4", "BitBtn5"}));
        TTableFormBed<TFormWaterBalance> balance;
        balance.OkWith(press(balance.Modal, {"Help"}));
        TTableFormBed<TFormWaterUse> use;
        use.OkWith(press(use.Modal, {}));
        QCOMPARE(help.Contexts(), std::vector<int>({4000, 3100, 5000}));
        QCOMPARE(abstraction.Modal.Shown(), Strings({"FormWaterAbs", "FormAbs1", "FormAbs2",
                                                     "FormAbs3", "FormAbs4", "FormAbs5"}));
        QCOMPARE(balance.Modal.Shown(), Strings({"FormWaterBalance", "FormReturnFlowDiagram"}));
        FormAbs1 = nullptr, FormAbs2 = nullptr, FormAbs3 = nullptr, FormAbs4 = nullptr;
        FormAbs5 = nullptr, FormReturnFlowDiagram = nullptr;
    }

    void roundTripThroughTheDataFile()
    {
        ExpectDataFileKeeps<TFormWaterAbs>([](QDialog& w) {
            for (const int box : {1, 7, 11})
                Find<QComboBox>(w, qPrintable(QStringLiteral("ComboBox%1").arg(box)))
                    .setCurrentIndex(box % 5);
        });
    }
};

WQ_REGISTER_TEST(WaterAbsFormTest);
#include "water_abs_form_test.moc"
