// The texts and choices of the table forms that the data file keeps only with
// values of their table or group: OK warns of each one whose values are
// missing, and a file read back has indeed lost it; with a value in the group
// OK is silent and the file keeps it.

#include <QLabel>

#include "app/forms/ozr_water_abstractions.h"
#include "app/forms/ozr_water_balance.h"
#include "app/forms/ozr_water_use.h"
#include "tests/app/forms/table_form_tests.h"
#include "tests/qt_support/qt_tests.h"

namespace {

// What the control shows: its text, or "checked" for a checked radio button.
QString Shown(const QWidget& control)
{
    if (const auto* button = qobject_cast<const QRadioButton*>(&control))
        return button->isChecked() ? QStringLiteral("checked") : QString();
    if (const auto* list = qobject_cast<const QComboBox*>(&control))
        return list->currentText();
    if (const auto* memo = qobject_cast<const QPlainTextEdit*>(&control))
        return memo->toPlainText();
    return static_cast<const QLineEdit&>(control).text();
}

// Makes the control show something: a year passes as an LTAA year and as a text.
void Enter(QWidget& control)
{
    if (auto* button = qobject_cast<QRadioButton*>(&control))
        button->click();
    else if (auto* list = qobject_cast<QComboBox*>(&control))
        list->setCurrentIndex(1);
    else if (auto* memo = qobject_cast<QPlainTextEdit*>(&control))
        memo->setPlainText(QStringLiteral("1980"));
    else
        static_cast<QLineEdit&>(control).setText(QStringLiteral("1980"));
}

struct TEntry;
using TRun = QStringList (*)(const TEntry&, const char* valueGrid, QString& typed, QString& reread);

struct TEntry {
    TRun Run;
    QByteArray Control;
    QString Caption;
    const char* Where;
    const char* GroupGrid;  // a grid of the entry's group
    const char* OtherGrid;  // a grid of the form outside the group, or nullptr
};

// Enters the entry and a value into the grid (none for nullptr), clicks OK,
// saves, and reads what the form shows of the entry once the file is read back.
template <typename TForm>
QStringList Run(const TEntry& entry, const char* valueGrid, QString& typed, QString& reread)
{
    const wqtest::TempFolder folder;
    TTableFormBed<TForm> bed;
    const QStringList lines = bed.OkWith([&](QDialog& form) {
        Enter(Find<QWidget>(form, entry.Control.constData()));
        typed = Shown(Find<QWidget>(form, entry.Control.constData()));
        if (valueGrid)
            SetCells(form, valueGrid, {{1, 1, "5"}});
    });
    SaveDataFile(folder / "tables.wqd");
    TTableFormBed<TForm> copy;
    Session->FDataFile = folder / "tables.wqd";
    LoadDataFile();
    copy.OkWith(
        [&](QDialog& form) { reread = Shown(Find<QWidget>(form, entry.Control.constData())); });
    return lines;
}

const std::vector<TEntry>& Entries()
{
    static const std::vector<TEntry> entries = [] {
        const QString remarks = QStringLiteral("Calculation method - Other remarks");
        const QString period = QStringLiteral("LTAA reference period");
        const char* form = "this form";
        const char* returned = "'Returned water' or 'Reused water'";
        const char* additional = "'Desalinated water' or 'Other additional water resources'";
        const auto unit = [](const char* which, const char* what) {
            return QStringLiteral("Specify %1 hydrological unit %2")
                .arg(QString::fromUtf8(which), QString::fromUtf8(what));
        };
        using TUse = TFormWaterUse;
        using TAbs = TFormWaterAbs;
        using TBalance = TFormWaterBalance;
        std::vector<TEntry> all = {
            {Run<TUse>, "Memo1", remarks, form, "gridDataTot", nullptr},
            {Run<TUse>, "edtToYear", period, form, "GridDataRec", nullptr},
            {Run<TAbs>, "Memo1", remarks, form, "GridDataNonFW", nullptr},
            {Run<TAbs>, "edtFromYear", period, form, "GridDataPub", nullptr},
            {Run<TBalance>, "Memo1", remarks, form, "gridData2", nullptr},
            {Run<TBalance>, "edtFromYear", period, form, "gridDataDesal", nullptr},
            {Run<TBalance>, "edtReturnedUnit",
             unit("to which", "the \"returned after use\" effluent is discharged"), returned,
             "gridData3", "gridData1"},
            {Run<TBalance>, "edtReused", unit("to which", "the reused water is made available"),
             returned, "gridDataReused", "gridData4"},
            {Run<TBalance>, "edtImportsOrigin", unit("from which", "water imports come"),
             additional, "gridData4", "gridData3"},
            {Run<TBalance>, "edtExportsDestination", unit("to which", "the exported water goes"),
             additional, "gridDataDesal", "gridData2"},
            {Run<TBalance>, "rbDesalinatedWater",
             QStringLiteral("Specify where artificial groundwater recharge originates from"),
             additional, "gridDataDesal", "gridData1"}};
        // Each source is named by its label under the heading of the sources.
        TAbs sources;
        sources.EnsureBuilt();
        const QString heading =
            Find<QLabel>(sources, "lblSourceHeading").text() + QStringLiteral(": ");
        for (int i = 1; i <= 11; ++i) {
            const QByteArray label = "lblSource" + QByteArray::number(i);
            all.push_back({Run<TAbs>, "ComboBox" + QByteArray::number(i),
                           heading + Find<QLabel>(sources, label.constData()).text(), form,
                           "gridDataTot", nullptr});
        }
        return all;
    }();
    return entries;
}

}  // namespace

class KeptEntriesTest : public QObject {
    Q_OBJECT

private slots:
    void warnsOfEachEntryTheDataFileLeavesOut_data()
    {
        QTest::addColumn<int>("index");
        for (std::size_t i = 0; i < Entries().size(); ++i)
            QTest::addRow("%zu %s", i, qPrintable(Entries()[i].Caption)) << static_cast<int>(i);
    }

    // The group empty (another group of the form holding a value, where the
    // form has another), then holding a value.
    void warnsOfEachEntryTheDataFileLeavesOut()
    {
        QFETCH(int, index);
        const TEntry& entry = Entries()[static_cast<std::size_t>(index)];
        const QString warning = TMessageDialog::MessageLine(
            {QStringLiteral("No values have been entered in %1, so '%2' will not be saved to the "
                            "data file")
                 .arg(QString::fromUtf8(entry.Where), entry.Caption),
             mkWarning});
        QString typed, lost, kept;
        QCOMPARE(entry.Run(entry, entry.OtherGrid, typed, lost), QStringList(warning));
        QCOMPARE(lost, QString());
        QCOMPARE(entry.Run(entry, entry.GroupGrid, typed, kept), QStringList());
        QCOMPARE(kept, typed);
    }
};

WQ_REGISTER_TEST(KeptEntriesTest);
#include "kept_entries_test.moc"
