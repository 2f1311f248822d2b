#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

#include "app/ozr_groundwater.h"
#include "components/StrGrdQv.h"
#include "tests/app/app_tests.h"
#include "tests/app/station_tests.h"
#include "tests/qt_support/qt_tests.h"

namespace {

void FillRequired(QDialog& form, const QString& id)
{
    Type(form, "edtID", id);
    Type(form, "edtLatitude", QStringLiteral("40"));
    Type(form, "edtLongitude", QStringLiteral("22"));
    SetCell(form, "gridData", 1, 13, QStringLiteral("-3"));
}

}  // namespace

class GroundwaterFormTest : public QObject {
    Q_OBJECT

    std::unique_ptr<TFormBed<TFormGroundwater>> bed_;

    // Opens the well, runs `look` on the open form and closes it with OK.
    void EditWithOK(TWell* well, const std::function<void(QDialog&)>& look)
    {
        bed_->Modal.Then([&](QDialog& window) {
            look(window);
            QVERIFY(ClickOK(window));
        });
        QVERIFY(EditWell(well));
    }

private slots:
    void init() { bed_ = std::make_unique<TFormBed<TFormGroundwater>>(FormGroundwater); }
    void cleanup() { bed_.reset(); }

    void showsItsDesign()
    {
        auto& form = bed_->Form;
        QCOMPARE(form.windowTitle(), QStringLiteral("Groundwater level"));
        QCOMPARE(Find<QLabel>(form, "lblAquifer").text(),
                 QStringLiteral("Groundwater\nBody (GWB)"));
        QCOMPARE(Find<QLineEdit>(form, "edtAquifer").maxLength(), 255);
        QCOMPARE(Find<QGroupBox>(form, "grpBoxGWBOutsideRBD").title(),
                 QStringLiteral("Does the GWB expand outside the RBD?"));
        auto& grid = Find<TQvStringGrid>(form, "gridData");
        QCOMPARE(grid.ColCount(), 2);
        QCOMPARE(grid.RowCount(), 17);
        auto& months = Find<QComboBox>(form, "cbMonthMaxLevel");
        QCOMPARE(months.count(), 12);
        QCOMPARE(months.itemText(8), QStringLiteral("Month 9 (Sept)"));
        QCOMPARE(months.placeholderText(), QStringLiteral("Select month..."));
    }

    // Levels may be negative; a cell of blanks is no number here.
    void levelsOfAnySignButNotBlanks()
    {
        auto* well = new TWell(bed_->Country, "W1");
        QStringList findings;
        bed_->Modal.Then([&](QDialog& window) {
            FillRequired(window, QStringLiteral("W1"));
            SetCell(window, "gridData", 1, 1, QStringLiteral("-12.5"));
            SetCell(window, "gridData", 1, 2, QStringLiteral(" "));
            QVERIFY(!ClickOK(window));
            findings = bed_->TakeFindings();
            SetCell(window, "gridData", 1, 2, QString());
            QVERIFY(ClickOK(window));
        });
        QVERIFY(EditWell(well));
        QCOMPARE(findings,
                 QStringList(QStringLiteral(
                     "E:A real number is expected for the field: Mean Groundwater level")));
        QCOMPARE(well->FMeanLevel[0], -12.5);
        QCOMPARE(well->FMeanLevel[1], MissingReal);
        QString shown;
        EditWithOK(well, [&](QDialog& window) { shown = Cell(window, "gridData", 1, 1); });
        QCOMPARE(shown, QStringLiteral("-12.5"));
    }

    // A basin district asks about the district only, a basin about the basin
    // only, other regions both; a hidden answer is kept.
    void questionsFollowTheRegionType()
    {
        struct Case {
            TRegion* Region;
            bool RB;
            bool RBD;
        };
        for (const Case& c : {Case{bed_->Rbd, false, true}, Case{bed_->Rb, true, false},
                              Case{bed_->Nuts1, true, true}, Case{bed_->Country, true, true}}) {
            auto* well = new TWell(c.Region, "W" + c.Region->GetCode());
            well->FGWBOutsideRB = 1;
            well->FGWBOutsideRBD = 0;
            bool shownRB = false;
            bool shownRBD = false;
            QString type;
            EditWithOK(well, [&](QDialog& window) {
                FillRequired(window, QString::fromStdString(well->GetID()));
                shownRB = !Find<QGroupBox>(window, "grpBoxGWBOutsideRB").isHidden();
                shownRBD = !Find<QGroupBox>(window, "grpBoxGWBOutsideRBD").isHidden();
                type = Text(window, "edtRegionType");
            });
            QCOMPARE(shownRB, c.RB);
            QCOMPARE(shownRBD, c.RBD);
            QCOMPARE(type, QString::fromStdString(RegionTypeToStr(c.Region->GetRegionType())));
            QCOMPARE(well->FGWBOutsideRB, 1);
            QCOMPARE(well->FGWBOutsideRBD, 0);
        }
    }

    void yesNoAndMonthsComeBack()
    {
        auto* well = new TWell(bed_->Country, "W1");
        well->FMonthMinLevel = 12;
        int minIndex = 0;
        bool unknownRB = false;
        EditWithOK(well, [&](QDialog& window) {
            FillRequired(window, QStringLiteral("W1"));
            minIndex = Find<QComboBox>(window, "cbMonthMinLevel").currentIndex();
            unknownRB = Find<QRadioButton>(window, "rbGWBOutsideRBUnknown").isChecked();
            Check(window, "rbGWBOutsideRBDNo");
        });
        QCOMPARE(minIndex, -1);
        QVERIFY(unknownRB);
        QCOMPARE(well->FMonthMinLevel, -1);
        QCOMPARE(well->FMonthMaxLevel, -1);
        QCOMPARE(well->FGWBOutsideRB, MissingInteger);
        QCOMPARE(well->FGWBOutsideRBD, 0);

        QString shownMin;
        EditWithOK(well, [&](QDialog& window) {
            shownMin = Find<QComboBox>(window, "cbMonthMinLevel").currentText();
            Find<QComboBox>(window, "cbMonthMinLevel").setCurrentIndex(0);
            Find<QComboBox>(window, "cbMonthMaxLevel").setCurrentIndex(11);
            Check(window, "rbGWBOutsideRBYes");
        });
        QCOMPARE(shownMin, QString());
        QCOMPARE(well->FMonthMinLevel, 0);
        QCOMPARE(well->FMonthMaxLevel, 11);
        QCOMPARE(well->FGWBOutsideRB, 1);

        QString shownMax;
        bool noRBD = false;
        EditWithOK(well, [&](QDialog& window) {
            shownMax = Find<QComboBox>(window, "cbMonthMaxLevel").currentText();
            noRBD = Find<QRadioButton>(window, "rbGWBOutsideRBDNo").isChecked();
        });
        QCOMPARE(shownMax, QStringLiteral("Month 12 (Dec)"));
        QVERIFY(noRBD);
    }

    // Wells are compared with wells only, in any letter case.
    void identifiersAndHelp()
    {
        TRecordedHelp help;
        new TReservoir(bed_->Country, "Lake");
        new TWell(bed_->Country, "Deep");
        TWell* created = nullptr;
        QStringList findings;
        bed_->Modal.Then([&](QDialog& window) {
            FillRequired(window, QStringLiteral("dEEP"));
            Find<QPushButton>(window, "BitBtn1").click();
            QVERIFY(!ClickOK(window));
            findings = bed_->TakeFindings();
            Type(window, "edtID", QStringLiteral("Lake"));
            QVERIFY(ClickOK(window));
        });
        QVERIFY(FormGroundwater->New(bed_->Rb, "", created));
        QCOMPARE(findings,
                 QStringList(QStringLiteral("E:A station with ID 'dEEP' already exists")));
        QCOMPARE(created->GetID(), std::string("Lake"));
        QCOMPARE(created->FRegion, bed_->Rb);
        QCOMPARE(help.Contexts(), std::vector<int>{3210});
    }
};

WQ_REGISTER_TEST(GroundwaterFormTest);
#include "groundwater_form_test.moc"
