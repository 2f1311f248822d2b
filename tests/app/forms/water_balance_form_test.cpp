#include "app/forms/ozr_water_balance.h"
#include "tests/app/forms/table_form_tests.h"
#include "tests/qt_support/qt_tests.h"

class WaterBalanceFormTest : public QObject {
    Q_OBJECT

private slots:
    // The water storage takes any real and the other tables refuse negatives,
    // once per cell; the monthly sums allow for rounding only.
    void storageTakesAnyRealAndTheOtherTablesRefuseNegativesCellByCell()
    {
        TTableFormBed<TFormWaterBalance> bed;
        const auto enter = [&bed](const char* negative, const char* firstMonth) {
            return bed.OkWith([=](QDialog& form) {
                for (const char* name : {"gridData1", "gridData2", "gridData3", "gridDataReused",
                                         "gridDataDesal", "gridData4"})
                    SetCells(form, name, {{Grid(form, name).ColCount() - 1, 16, negative}});
                SetCells(form, "gridData4", {{1, 2, negative}});
                SetCells(form, "gridData2", {{1, 1, "-12.5"}, {2, 1, "-9999"}});
                for (int month = 2; month <= 12; ++month)
                    SetCells(form, "gridData3", {{3, month, "9"}});
                SetCells(form, "gridData3", {{3, 1, firstMonth}, {3, 13, "100"}});
            });
        };
        const auto number = [](const char* table) {
            return Error(std::string("A positive real number or zero is expected in all fields "
                                     "of: ") +
                         table);
        };
        QCOMPARE(enter("-12.5", "1.01"),
                 QStringList({number("Hydrometeorological Parameters"), number("Returned Water"),
                              number("Reused Water"), number("Desalinated Water"),
                              number("Additional Storage Resources"),
                              number("Additional Storage Resources"),
                              Error("The monthly values in table: 'Returned water' and column: "
                                    "'Returned after use' do not sum up to the annual value")}));
        QCOMPARE(enter("", "1.0000005"), QStringList());
        QCOMPARE(bed.Tables().FWBWaterStorage[0][0], -12.5);
        QCOMPARE(bed.Tables().FWBWaterStorage[1][0], MissingReal);
        QCOMPARE(bed.Tables().FWBReturned[2][0], 1.0000005);
    }

    // None checked is an unknown origin; the last one clicked counts.
    void theRechargeOriginIsOneRadioButtonOrUnknown()
    {
        TTableFormBed<TFormWaterBalance> bed;
        bed.OkWith([](QDialog& form) {
            QVERIFY(
                std::ranges::none_of(form.findChildren<QRadioButton*>(), &QRadioButton::isChecked));
            Click(form, "rbWaterImports");
            Click(form, "rbDesalinatedWater");
        });
        QCOMPARE(bed.Tables().FWBArtifGWOrigin, agoDesalinatedWater);
        bed.OkWith([](QDialog& form) {
            QVERIFY(Find<QRadioButton>(form, "rbDesalinatedWater").isChecked());
            Click(form, "BitBtnClear");
            QVERIFY(
                std::ranges::none_of(form.findChildren<QRadioButton*>(), &QRadioButton::isChecked));
        });
        QCOMPARE(bed.Tables().FWBArtifGWOrigin, agoUnknown);
        QCOMPARE(bed.Tables().FWBYear, 2008);
    }

    void whatIsTypedComesBackFromADataFile()
    {
        ExpectDataFileKeeps<TFormWaterBalance>([](QDialog& form) {
            for (const char* box :
                 {"edtReturnedUnit", "edtReused", "edtImportsOrigin", "edtExportsDestination"})
                Find<QLineEdit>(form, box).setText(QString::fromLatin1(box));
            Click(form, "rbWaterImports");
        });
    }
};

WQ_REGISTER_TEST(WaterBalanceFormTest);
#include "water_balance_form_test.moc"
