// The texts and choices of the table forms that the data file keeps only
// together with values of their table or group: OK warns of each one whose
// values are missing, and the file read back has indeed lost it; with a value
// in the group there is no warning and the file keeps it.

#include <QLabel>

#include "app/forms/ozr_water_abstractions.h"
#include "app/forms/ozr_water_balance.h"
#include "app/forms/ozr_water_use.h"
#include "tests/app/forms/table_form_tests.h"
#include "tests/qt_support/qt_tests.h"

namespace {

struct TEntryCase;
using TRun = QStringList (*)(const TEntryCase& entry, const char* valueGrid, QString& reread);

struct TEntryCase {
    TRun Run;
    QString Caption;
    const char* Where;
    std::function<void(QDialog&)> Enter;
    // What the form shows of the entry: empty when it holds nothing.
    std::function<QString(const QDialog&)> Shown;
    QString Entered;
    const char* GroupGrid;  // a grid of the entry's group
    const char* OtherGrid;  // a grid of the same form outside the group, or nullptr
};

// Enters the entry and a value into the grid (none for nullptr), clicks OK,
// saves, reads the file into a new session and opens the form on it again.
template <typename TForm>
QStringList Run(const TEntryCase& entry, const char* valueGrid, QString& reread)
{
    const wqtest::TempFolder folder;
    TTableFormBed<TForm> bed;
    const QStringList lines = bed.OkWith([&](QDialog& form) {
        entry.Enter(form);
        if (valueGrid)
            SetCells(form, valueGrid, {{1, 1, "5"}});
    });
    SaveDataFile(folder / "tables.wqd");
    TTableFormBed<TForm> copy;
    Session->FDataFile = folder / "tables.wqd";
    LoadDataFile();
    copy.OkWith([&](QDialog& form) { reread = entry.Shown(form); });
    return lines;
}

template <typename TForm>
TEntryCase TextBox(const char* caption, const char* where, const char* box, const char* groupGrid,
                   const char* otherGrid = nullptr)
{
    return {Run<TForm>,
            QString::fromUtf8(caption),
            where,
            [box](QDialog& form) { Find<QLineEdit>(form, box).setText(QStringLiteral("Unit A")); },
            [box](const QDialog& form) { return Find<QLineEdit>(form, box).text(); },
            QStringLiteral("Unit A"),
            groupGrid,
            otherGrid};
}

// The remarks and the LTAA period of a table form, kept by any value of it.
template <typename TForm>
std::vector<TEntryCase> RemarksAndPeriod(const char* grid)
{
    return {
        {Run<TForm>, QStringLiteral("Calculation method - Other remarks"), "this form",
         [](QDialog& form) {
             Find<QPlainTextEdit>(form, "Memo1").setPlainText(QStringLiteral("Estimated"));
         },
         [](const QDialog& form) { return Find<QPlainTextEdit>(form, "Memo1").toPlainText(); },
         QStringLiteral("Estimated"), grid, nullptr},
        {Run<TForm>, QStringLiteral("LTAA reference period"), "this form",
         [](QDialog& form) {
             Find<QLineEdit>(form, "edtFromYear").setText(QStringLiteral("1980"));
             Find<QLineEdit>(form, "edtToYear").setText(QStringLiteral("2004"));
         },
         [](const QDialog& form) {
             return Find<QLineEdit>(form, "edtFromYear").text() +
                    Find<QLineEdit>(form, "edtToYear").text();
         },
         QStringLiteral("19802004"), grid, nullptr},
    };
}

const std::vector<TEntryCase>& Cases()
{
    static const std::vector<TEntryCase> cases = [] {
        std::vector<TEntryCase> all = RemarksAndPeriod<TFormWaterUse>("gridDataTot");
        for (TEntryCase& entry : RemarksAndPeriod<TFormWaterAbs>("GridDataNonFW"))
            all.push_back(std::move(entry));
        TFormWaterAbs sources;
        sources.EnsureBuilt();
        for (int i = 1; i <= 11; ++i) {
            const QByteArray box = "ComboBox" + QByteArray::number(i);
            const QByteArray label = "lblSource" + QByteArray::number(i);
            all.push_back({Run<TFormWaterAbs>,
                           Find<QLabel>(sources, "lblSourceHeading").text() + QStringLiteral(": ") +
                               Find<QLabel>(sources, label.constData()).text(),
                           "this form",
                           [box](QDialog& form) {
                               Find<QComboBox>(form, box.constData()).setCurrentIndex(1);
                           },
                           [box](const QDialog& form) {
                               return Find<QComboBox>(form, box.constData()).currentText();
                           },
                           QStringLiteral("Estuary"), "gridDataTot", nullptr});
        }
        for (TEntryCase& entry : RemarksAndPeriod<TFormWaterBalance>("gridData2"))
            all.push_back(std::move(entry));
        const char* returned = "'Returned water' or 'Reused water'";
        const char* additional = "'Desalinated water' or 'Other additional water resources'";
        all.push_back(TextBox<TFormWaterBalance>(
            "Specify to which hydrological unit the \"returned after use\" effluent is discharged",
            returned, "edtReturnedUnit", "gridData3", "gridData1"));
        all.push_back(TextBox<TFormWaterBalance>(
            "Specify to which hydrological unit the reused water is made available", returned,
            "edtReused", "gridDataReused", "gridData4"));
        all.push_back(
            TextBox<TFormWaterBalance>("Specify from which hydrological unit water imports come",
                                       additional, "edtImportsOrigin", "gridData4", "gridData3"));
        all.push_back(TextBox<TFormWaterBalance>(
            "Specify to which hydrological unit the exported water goes", additional,
            "edtExportsDestination", "gridDataDesal", "gridData2"));
        all.push_back({Run<TFormWaterBalance>,
                       QStringLiteral("Specify where artificial groundwater recharge originates "
                                      "from"),
                       additional, [](QDialog& form) { Click(form, "rbDesalinatedWater"); },
                       [](const QDialog& form) {
                           return Find<QRadioButton>(form, "rbDesalinatedWater").isChecked()
                                      ? QStringLiteral("checked")
                                      : QString();
                       },
                       QStringLiteral("checked"), "gridDataDesal", "gridData1"});
        return all;
    }();
    return cases;
}

}  // namespace

class KeptEntriesTest : public QObject {
    Q_OBJECT

private slots:
    void warnsOfEachEntryTheDataFileLeavesOut_data()
    {
        QTest::addColumn<int>("index");
        for (std::size_t i = 0; i < Cases().size(); ++i)
            QTest::addRow("%zu %s", i, qPrintable(Cases()[i].Caption)) << static_cast<int>(i);
    }

    // Without a value in the group (another group of the form holding one,
    // where the form has another) and with one.
    void warnsOfEachEntryTheDataFileLeavesOut()
    {
        QFETCH(int, index);
        const TEntryCase& entry = Cases()[static_cast<std::size_t>(index)];
        const QString warning = TMessageDialog::MessageLine(
            {QStringLiteral("No values have been entered in %1, so '%2' will not be saved to the "
                            "data file")
                 .arg(QString::fromUtf8(entry.Where), entry.Caption),
             mkWarning});
        QString lost, kept;
        QCOMPARE(entry.Run(entry, entry.OtherGrid, lost), QStringList(warning));
        QCOMPARE(lost, QString());
        QCOMPARE(entry.Run(entry, entry.GroupGrid, kept), QStringList());
        QCOMPARE(kept, entry.Entered);
    }
};

WQ_REGISTER_TEST(KeptEntriesTest);
#include "kept_entries_test.moc"
