#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QtTest>

#include "app/forms/ozr_reservoirs.h"
#include "app/forms/ozr_water_abstractions.h"
#include "app/forms/ozr_water_balance.h"
#include "app/forms/ozr_water_use.h"
#include "app/wizard/ozr_wizard.h"
#include "tests/app/app_tests.h"
#include "tests/app/forms/station_tests.h"
#include "tests/qt_support/qt_tests.h"

namespace {

// The session of the station tests (GR with the NUTS region GR1, the RBD GR01
// and the RB GR01A, no SU), the wizard and the forms it opens.
class TWizardBed : public TStationBed {
public:
    TWizardBed()
    {
        FormWizard = &Wizard;
        FormReservoirs = &Reservoirs;
        FormWaterAbs = &WaterAbs;
        FormWaterUse = &WaterUse;
        FormWaterBalance = &WaterBalance;
    }
    ~TWizardBed()
    {
        FormWizard = nullptr;
        FormReservoirs = nullptr;
        FormWaterAbs = nullptr;
        FormWaterUse = nullptr;
        FormWaterBalance = nullptr;
    }

    TFormReservoirs Reservoirs;
    TFormWaterAbs WaterAbs;
    TFormWaterUse WaterUse;
    TFormWaterBalance WaterBalance;
    TFormWizard Wizard;
};

// Chooses the item as the user does, which the box reports as activated.
void Choose(QWidget& form, const char* name, const QString& text)
{
    auto& box = Find<QComboBox>(form, name);
    const int index = box.findText(text);
    QVERIFY2(index >= 0, qPrintable(text));
    box.setCurrentIndex(index);
    emit box.activated(index);
}

QStringList Items(QWidget& form, const char* name)
{
    const auto& box = Find<QComboBox>(form, name);
    QStringList items;
    for (int i = 0; i < box.count(); ++i)
        items << box.itemText(i);
    return items;
}

bool Shown(QWidget& form, const char* name)
{
    return Find<QWidget>(form, name).isVisibleTo(&form);
}

bool Enabled(QWidget& form, const char* name)
{
    return Find<QWidget>(form, name).isEnabled();
}

QString Hint(QWidget& form)
{
    return Find<QStatusBar>(form, "StatusBar1").currentMessage();
}

// The fields a reservoir needs to be stored.
void FillReservoir(QDialog& form, const QString& id, const QString& name)
{
    Type(form, "edtID", id);
    Type(form, "edtName", name);
    Type(form, "edtLatitude", QStringLiteral("37.5"));
    Type(form, "edtLongitude", QStringLiteral("21.75"));
    Check(form, "rbManMade");
    SetCell(form, "gridData", 1, 1, QStringLiteral("4"));
}

const char* const kDataTypes[] = {"rbGroundwater",      "rbReservoir",    "rbFlow",
                                  "rbPrecipitation",    "rbWaterBalance", "rbWaterUse",
                                  "rbWaterAbstractions"};
const char* const kSections[] = {"pnlDataType", "pnlRegionType", "pnlRegion",
                                 "pnlEntity",   "pnlEntityName", "btnInput"};

// The sections shown, from the data type down to the button.
QStringList ShownSections(QWidget& form)
{
    QStringList shown;
    for (const char* name : kSections)
        if (Shown(form, name))
            shown << QLatin1String(name);
    return shown;
}

}  // namespace

class WizardTest : public QObject {
    Q_OBJECT

    std::unique_ptr<TWizardBed> bed_;

private slots:
    void init()
    {
        bed_ = std::make_unique<TWizardBed>();
        bed_->Wizard.show();
    }
    void cleanup() { bed_.reset(); }

    void opensAtTheDataType()
    {
        TRecordedHelp help;
        auto& wizard = bed_->Wizard;
        QCOMPARE(wizard.windowTitle(), QStringLiteral("Data Entry Wizard"));
        QVERIFY(wizard.windowFlags().testFlag(Qt::Tool));
        QCOMPARE(Text(wizard, "edtCountry"), QStringLiteral("GR/Greece"));
        QCOMPARE(Find<QLabel>(wizard, "lblCountry").text(), QStringLiteral("Country"));
        QCOMPARE(Find<QGroupBox>(wizard, "GroupBox1").title(), QStringLiteral("Data type"));
        QCOMPARE(Find<QRadioButton>(wizard, "rbNUTS").text(),
                 QStringLiteral("Nomenclature of Territorial Units for Statistics (NUTS)"));
        QCOMPARE(Find<QPushButton>(wizard, "btnInput").text(), QStringLiteral("Data entry"));
        QCOMPARE(Find<QPushButton>(wizard, "BitBtn1").text(), QStringLiteral(" Help"));
        QCOMPARE(ShownSections(wizard), Strings({"pnlDataType"}));
        QCOMPARE(Hint(wizard), QStringLiteral("Specify in the group box the type of your data"));

        // Opening again starts over, whatever was answered before.
        Click(wizard, "rbWaterAbstractions");
        Click(wizard, "rbCountry");
        QVERIFY(Shown(wizard, "btnInput"));
        wizard.hide();
        wizard.show();
        QCOMPARE(ShownSections(wizard), Strings({"pnlDataType"}));
        for (const char* name : kDataTypes)
            QVERIFY(!Find<QRadioButton>(wizard, name).isChecked());

        Click(wizard, "BitBtn1");
        QCOMPARE(help.Contexts(), std::vector<int>{2200});
    }

    // The country has NUTS, RBD and RB regions but no SU; another country's SU
    // does not count.
    void offersTheScalesOfTheCountry()
    {
        auto* italy = new TRegion(nullptr, rtCountry, "IT", "Italy");
        new TRegion(new TRegion(italy, rtRBD, "ITA", "Alps"), rtSU, "ITA1", "North");
        auto& wizard = bed_->Wizard;
        for (int dataType = 0; dataType < 7; ++dataType) {
            const char* type = kDataTypes[dataType];
            const bool station = dataType <= skRainGauge;
            Click(wizard, type);
            QVERIFY2(!Enabled(wizard, "rbSU"), type);
            QVERIFY(Enabled(wizard, "rbRBD") && Enabled(wizard, "rbRB"));
            QVERIFY(Enabled(wizard, "rbCountry"));
            QCOMPARE(Enabled(wizard, "rbNUTS"), !station);
            QVERIFY(!Find<QRadioButton>(wizard, "rbRB").isVisibleTo(&wizard));
            QCOMPARE(ShownSections(wizard), Strings({"pnlDataType", "pnlRegionType"}));
            QCOMPARE(Hint(wizard), QStringLiteral("Specify the spatial scale which your reported "
                                                  "data will be referring to"));

            // The country is the only region of its scale: chosen at once.
            Click(wizard, "rbCountry");
            QCOMPARE(Items(wizard, "cmboxRegions"), Strings({"GR/Greece"}));
            QCOMPARE(Text(wizard, "cmboxRegions"), QStringLiteral("GR/Greece"));
            QCOMPARE(Shown(wizard, "pnlEntity"), station);
            QCOMPARE(Shown(wizard, "btnInput"), !station);
            QCOMPARE(Hint(wizard),
                     station
                         ? QStringLiteral("Specify if you intend to provide new data or "
                                          "change existing data")
                         : QStringLiteral("Press the button for the data entry form to appear"));
        }
        // A new data type starts over at the scale.
        QVERIFY(Find<QRadioButton>(wizard, "rbCountry").isChecked());
        Click(wizard, "rbFlow");
        QVERIFY(!Find<QRadioButton>(wizard, "rbCountry").isChecked());
        QVERIFY(!Shown(wizard, "pnlRegion"));
        QCOMPARE(Find<QGroupBox>(wizard, "GroupBox3").title(), QStringLiteral("Stations"));
        QCOMPARE(Find<QRadioButton>(wizard, "rbNewEntity").text(), QStringLiteral("New station"));
        Click(wizard, "rbGroundwater");
        QCOMPARE(Find<QGroupBox>(wizard, "GroupBox3").title(), QStringLiteral("Groundwater level"));
        QCOMPARE(Find<QRadioButton>(wizard, "rbNewEntity").text(),
                 QStringLiteral("New groundwater level"));
    }

    // NUTS regions of every level, in the order the session lists them, and
    // only those of the country.
    void listsTheRegionsOfTheScale()
    {
        auto* italy = new TRegion(nullptr, rtCountry, "IT", "Italy");
        auto* nuts2 = new TRegion(bed_->Nuts1, rtNUTS2, "GR11", "East");
        new TRegion(italy, rtNUTS1, "IT1", "Nord");
        new TRegion(nullptr, rtNUTS1, "GR2", "South");
        new TRegion(nuts2, rtNUTS3, "GR111", "Evros");
        new TRegion(italy, rtRBD, "ITA", "Alps");
        auto& wizard = bed_->Wizard;
        Click(wizard, "rbWaterAbstractions");
        Click(wizard, "rbNUTS");
        QCOMPARE(Items(wizard, "cmboxRegions"), Strings({"GR1/North", "GR11/East", "GR111/Evros"}));
        QCOMPARE(Find<QComboBox>(wizard, "cmboxRegions").currentIndex(), -1);
        QCOMPARE(Find<QComboBox>(wizard, "cmboxRegions").placeholderText(),
                 QStringLiteral("Select a region..."));
        QCOMPARE(ShownSections(wizard), Strings({"pnlDataType", "pnlRegionType", "pnlRegion"}));
        QCOMPARE(Hint(wizard), QStringLiteral("Select from the drop down list the region for "
                                              "which you will provide data"));
        Click(wizard, "rbRBD");
        QCOMPARE(Items(wizard, "cmboxRegions"), Strings({"GR01/Western Peloponnese"}));
        Click(wizard, "rbRB");
        QCOMPARE(Items(wizard, "cmboxRegions"), Strings({"GR01A/Alfeios"}));
    }

    // The arrow keys move through the regions and the stations without
    // answering their step; Enter answers it.
    void listBoxesAnswerOnEnterNotOnTheArrowKeys()
    {
        new TReservoir(bed_->Rbd, "R1");
        Click(bed_->Wizard, "rbReservoir");
        Click(bed_->Wizard, "rbRBD");
        for (const auto& [box, next] :
             {std::pair{"cmboxRegions", "pnlEntity"}, std::pair{"cmboxEntities", "btnInput"}}) {
            QTest::keyClick(&Find<QComboBox>(bed_->Wizard, box), Qt::Key_Down);
            QVERIFY2(!Shown(bed_->Wizard, next), box);
            QTest::keyClick(&Find<QComboBox>(bed_->Wizard, box), Qt::Key_Return);
            QVERIFY2(Shown(bed_->Wizard, next), box);
            Click(bed_->Wizard, "rbUpdateData");
        }
    }

    // The entity list holds the chosen region's stations of the chosen kind;
    // without a station chosen there is no button to press.
    void entitiesFollowTheRegion()
    {
        auto* rbd2 = new TRegion(bed_->Country, rtRBD, "GR02", "North Peloponnese");
        (new TReservoir(bed_->Rbd, "R1"))->FName = "Pineios";
        new TReservoir(rbd2, "R2");
        new TWell(bed_->Rbd, "W1");
        new TReservoir(bed_->Rbd, "R3");
        auto& wizard = bed_->Wizard;
        Click(wizard, "rbReservoir");
        Click(wizard, "rbRBD");
        Choose(wizard, "cmboxRegions", QStringLiteral("GR01/Western Peloponnese"));
        QCOMPARE(ShownSections(wizard),
                 Strings({"pnlDataType", "pnlRegionType", "pnlRegion", "pnlEntity"}));
        Click(wizard, "rbUpdateData");
        QCOMPARE(Items(wizard, "cmboxEntities"), Strings({"R1/Pineios", "R3/"}));
        QCOMPARE(Hint(wizard), QStringLiteral("Select an entity from the drop down list"));
        QVERIFY(Shown(wizard, "pnlEntityName"));
        QVERIFY(!Shown(wizard, "btnInput"));

        Choose(wizard, "cmboxRegions", QStringLiteral("GR02/North Peloponnese"));
        QCOMPARE(Items(wizard, "cmboxEntities"), Strings({"R2/"}));
        QVERIFY(!Find<QRadioButton>(wizard, "rbUpdateData").isChecked());
        QVERIFY(!Shown(wizard, "pnlEntityName"));

        // An existing station opens in its form.
        Click(wizard, "rbUpdateData");
        Choose(wizard, "cmboxEntities", QStringLiteral("R2/"));
        QCOMPARE(Hint(wizard),
                 QStringLiteral("Press the button for the data entry form to appear"));
        QString opened;
        bed_->Modal.Then([&](QDialog& window) {
            opened = Text(window, "edtID");
            ClickCancel(window);
        });
        Click(wizard, "btnInput");
        QCOMPARE(opened, QStringLiteral("R2"));
        QVERIFY(bed_->Modal.AllScriptsUsed());

        // Qt reports a click on the button that is already checked too; it
        // changes no answer, so the wizard keeps its step and its lists.
        const QStringList sections = ShownSections(wizard);
        for (const char* name : {"rbUpdateData", "rbRBD", "rbReservoir"}) {
            Click(wizard, name);
            QCOMPARE(ShownSections(wizard), sections);
            QCOMPARE(Text(wizard, "cmboxRegions"), QStringLiteral("GR02/North Peloponnese"));
            QCOMPARE(Text(wizard, "cmboxEntities"), QStringLiteral("R2/"));
        }
    }

    // A station entered through the wizard appears in its list; a cancelled
    // one leaves nothing behind.
    void entersAStation()
    {
        auto& wizard = bed_->Wizard;
        Click(wizard, "rbReservoir");
        Click(wizard, "rbRBD");
        Choose(wizard, "cmboxRegions", QStringLiteral("GR01/Western Peloponnese"));
        Click(wizard, "rbNewEntity");
        QVERIFY(!Shown(wizard, "pnlEntityName"));
        QVERIFY(Shown(wizard, "btnInput"));
        bed_->Modal.Then([](QDialog& window) {
            FillReservoir(window, QStringLiteral("R9"), QStringLiteral("Ladonas"));
            QVERIFY(ClickOK(window));
        });
        Click(wizard, "btnInput");
        QCOMPARE(bed_->Session_.FReservoirs.Count(), 1);
        auto* created = static_cast<TReservoir*>(bed_->Session_.FReservoirs[0]);
        QCOMPARE(created->FRegion, bed_->Rbd);
        QCOMPARE(Items(wizard, "cmboxEntities"), Strings({"R9/Ladonas"}));

        bed_->Session_.SetModified(false);
        bed_->Modal.Then([](QDialog& window) {
            FillReservoir(window, QStringLiteral("R10"), QStringLiteral("Lost"));
            ClickCancel(window);
        });
        Click(wizard, "btnInput");
        QCOMPARE(bed_->Session_.FReservoirs.Count(), 1);
        QCOMPARE(Items(wizard, "cmboxEntities"), Strings({"R9/Ladonas"}));

        // A changed name shows at once.
        Click(wizard, "rbUpdateData");
        Choose(wizard, "cmboxEntities", QStringLiteral("R9/Ladonas"));
        bed_->Modal.Then([](QDialog& window) {
            Type(window, "edtName", QStringLiteral("Ladon"));
            QVERIFY(ClickOK(window));
        });
        Click(wizard, "btnInput");
        QCOMPARE(Items(wizard, "cmboxEntities"), Strings({"R9/Ladon"}));
        QCOMPARE(Text(wizard, "cmboxEntities"), QStringLiteral("R9/Ladon"));
        QVERIFY(bed_->Modal.AllScriptsUsed());
    }

    // A table form opens on the chosen region, as often as the button is pressed.
    void opensTheTablesOfTheRegion()
    {
        auto& wizard = bed_->Wizard;
        QStringList opened;
        const auto openedOn = [&](QDialog& window) {
            opened << window.objectName() + QLatin1Char(' ') + Text(window, "edtRegionCode");
            Click(window, "btnCancel");
        };
        for (int i = 0; i < 4; ++i)
            bed_->Modal.Then(openedOn);

        Click(wizard, "rbWaterAbstractions");
        Click(wizard, "rbRBD");
        QVERIFY(!Shown(wizard, "btnInput"));
        Choose(wizard, "cmboxRegions", QStringLiteral("GR01/Western Peloponnese"));
        QVERIFY(!Shown(wizard, "pnlEntity"));
        Click(wizard, "btnInput");
        Click(wizard, "btnInput");
        Click(wizard, "rbWaterUse");
        Click(wizard, "rbCountry");
        Click(wizard, "btnInput");
        Click(wizard, "rbWaterBalance");
        Click(wizard, "rbRB");
        Choose(wizard, "cmboxRegions", QStringLiteral("GR01A/Alfeios"));
        Click(wizard, "btnInput");
        QCOMPARE(opened, Strings({"FormWaterAbs GR01", "FormWaterAbs GR01", "FormWaterUse GR",
                                  "FormWaterBalance GR01A"}));
    }
};

WQ_REGISTER_TEST(WizardTest);
#include "wizard_test.moc"
