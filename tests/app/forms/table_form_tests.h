#pragma once

// What the tests of the table forms share.

#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QtTest>

#include "components/StrGrdQv.h"
#include "components/frmMsgDlg.h"
#include "io/ozr_io_load.h"
#include "io/ozr_io_save.h"
#include "platform/scripted_dialogs.h"
#include "tests/app/app_tests.h"
#include "tests/qt_support/scripted_modal.h"
#include "tests/support/temp_folder.h"

// A session of its own with the country GR, current while the bed lives; the
// form with scripted modal runs and dialogs.
template <typename TForm>
class TTableFormBed {
    std::unique_ptr<TSession> own_ = std::make_unique<TSession>();
    TSession* previous_ = std::exchange(Session, own_.get());

public:
    TTableFormBed() { Session->SetCountry(Country); }
    ~TTableFormBed()
    {
        own_.reset();
        Session = previous_;
    }

    // Opens the form on the region (the country by default), lets `fill` act
    // and clicks OK, then Cancel when the form stays open; the lines shown.
    QStringList OkWith(const std::function<void(QDialog&)>& fill, TRegion* region = nullptr)
    {
        Modal.Then([&fill](QDialog& form) {
            fill(form);
            Click(form, "btnInput");
            if (form.result() != QDialog::Accepted)
                Click(form, "btnCancel");
        });
        Form.Edit(region ? region : Country);
        return Modal.TakeMessageLines();
    }
    TRegionTables& Tables() { return Country->EditTables(); }

    TRegion* const Country = new TRegion(nullptr, rtCountry, "GR", "Greece");
    TScriptedDialogs Dialogs;
    ScopedDialogs InstalledDialogs{Dialogs};
    TScriptedModal Modal;
    TForm Form;
};

inline TQvStringGrid& Grid(const QWidget& form, const char* name)
{
    return Find<TQvStringGrid>(form, name);
}

// Types each text into its cell (column, row) of the grid.
inline void SetCells(const QWidget& form, const char* grid,
                     std::initializer_list<std::tuple<int, int, const char*>> cells)
{
    for (const auto& [col, row, text] : cells)
        Grid(form, grid).SetCell(col, row, QString::fromUtf8(text));
}

inline QString Error(const std::string& text)
{
    return TMessageDialog::MessageLine({QString::fromStdString(text), mkError});
}

// Every text a user can enter or choose on the form, in a fixed order.
inline QStringList ShownTexts(const QWidget& form)
{
    QStringList texts;
    for (const auto* grid : form.findChildren<TQvStringGrid*>())
        for (int row = 1; row < grid->RowCount(); ++row)
            for (int col = 0; col < grid->ColCount(); ++col)
                texts << grid->Cell(col, row);
    for (const auto* edit : form.findChildren<QLineEdit*>())
        texts << edit->text();
    for (const auto* box : form.findChildren<QComboBox*>())
        texts << box->currentText();
    for (const auto* memo : form.findChildren<QPlainTextEdit*>())
        texts << memo->toPlainText();
    for (const auto* button : form.findChildren<QRadioButton*>())
        texts << QString::number(button->isChecked());
    return texts;
}

// Enters distinct values into every data column (the annual value the sum of
// the months), the years and remarks, and what `fill` adds, clicks OK, and
// expects the form to show the same of the country read back from a data file.
template <typename TForm>
void ExpectDataFileKeeps(const std::function<void(QDialog&)>& fill)
{
    const wqtest::TempFolder folder;
    QStringList typed, reread;
    TTableFormBed<TForm> bed;
    bed.OkWith([&](QDialog& form) {
        double first = 0.25;
        for (auto* grid : form.findChildren<TQvStringGrid*>())
            for (int col = 1; grid->FixedCols() > 0 && col < grid->ColCount(); ++col, first += 100)
                for (int row = 1; row <= 16; ++row)
                    grid->SetCell(col, row,
                                  QString::number(row == 13 ? 12 * first + 78 : first + row));
        Find<QComboBox>(form, "cmboxYear").setCurrentIndex(3);
        Find<QLineEdit>(form, "edtFromYear").setText(QStringLiteral("1980"));
        Find<QLineEdit>(form, "edtToYear").setText(QStringLiteral("2004"));
        Find<QPlainTextEdit>(form, "Memo1").setPlainText(QStringLiteral("first\n\nthird"));
        fill(form);
        typed = ShownTexts(form);
    });
    SaveDataFile(folder / "tables.wqd");
    TTableFormBed<TForm> copy;
    Session->FDataFile = folder / "tables.wqd";
    LoadDataFile();
    copy.OkWith([&reread](QDialog& form) { reread = ShownTexts(form); });
    QCOMPARE(reread, typed);
}
