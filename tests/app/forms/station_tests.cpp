#include "tests/app/forms/station_tests.h"

#include <QComboBox>

#include "components/StrGrdQv.h"

TRegionTree BuildRegionTree()
{
    auto* country = new TRegion(nullptr, rtCountry, "GR", "Greece");
    auto* rbd = new TRegion(country, rtRBD, "GR01", "Western Peloponnese");
    return {country, new TRegion(country, rtNUTS1, "GR1", "North"), rbd,
            new TRegion(rbd, rtRB, "GR01A", "Alfeios")};
}

TStationBed::TStationBed()
{
    Session = OwnSession.get();
    static_cast<TRegionTree&>(*this) = BuildRegionTree();
    Session_.SetCountry(Country);
}

TStationBed::~TStationBed()
{
    Session = OwnSession.get();
    OwnSession.reset();
    Session = nullptr;
}

QString Text(const QWidget& form, const char* name)
{
    if (auto* box = form.findChild<QComboBox*>(QLatin1String(name)))
        return box->currentText();
    return Find<QLineEdit>(form, name).text();
}

void Type(const QWidget& form, const char* name, const QString& text)
{
    QLineEdit& edit = Find<QLineEdit>(form, name);
    edit.clear();
    QTest::keyClicks(&edit, text);
}

void Check(const QWidget& form, const char* name, bool checked)
{
    Find<QAbstractButton>(form, name).setChecked(checked);
}

void SetCell(const QWidget& form, const char* grid, int col, int row, const QString& text)
{
    Find<TQvStringGrid>(form, grid).SetCell(col, row, text);
}

bool ClickOK(QDialog& form)
{
    Click(form, "btnInput");
    return form.result() == QDialog::Accepted;
}

void ClickCancel(QDialog& form)
{
    Click(form, "btnCancel");
}
