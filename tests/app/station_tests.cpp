#include "tests/app/station_tests.h"

#include <QAbstractButton>
#include <QComboBox>

#include "components/StrGrdQv.h"

TRegionTree BuildRegionTree()
{
    auto* country = new TRegion(nullptr, rtCountry, "GR", "Greece");
    auto* rbd = new TRegion(country, rtRBD, "GR01", "Western Peloponnese");
    return {country, new TRegion(country, rtNUTS1, "GR1", "North"), rbd,
            new TRegion(rbd, rtRB, "GR01A", "Alfeios")};
}

namespace {

TRegionTree BuildRegionTreeIn(TSession& session)
{
    Session = &session;
    return BuildRegionTree();
}

}  // namespace

TStationBed::TStationBed()
    : Regions(BuildRegionTreeIn(*OwnSession)),
      Country(Regions.Country),
      Nuts1(Regions.Nuts1),
      Rbd(Regions.Rbd),
      Rb(Regions.Rb)
{
    Session_.SetCountry(Country);
}

TStationBed::~TStationBed()
{
    OwnSession.reset();
    Session = nullptr;
}

QStringList TStationBed::TakeFindings()
{
    QStringList findings;
    for (const QString& line : Modal.TakeMessageLines()) {
        const qsizetype end = line.indexOf(QLatin1Char(']'));
        const QString kind = line.mid(1, end - 1);
        findings << (kind == QLatin1String("Error") ? QStringLiteral("E:") : QStringLiteral("W:")) +
                        line.mid(end + 1).trimmed();
    }
    return findings;
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

QString Cell(const QWidget& form, const char* grid, int col, int row)
{
    return Find<TQvStringGrid>(form, grid).Cell(col, row);
}

void SetYear(const QWidget& form, const QString& text)
{
    auto& box = Find<QComboBox>(form, "cmboxYear");
    const int index = box.findText(text);
    if (index >= 0)
        box.setCurrentIndex(index);
    else
        box.setEditText(text);
}

bool ClickOK(QDialog& form)
{
    bool closed = false;
    const QMetaObject::Connection watch =
        QObject::connect(&form, &QDialog::finished, [&closed] { closed = true; });
    Find<QAbstractButton>(form, "btnInput").click();
    QObject::disconnect(watch);
    return closed;
}

void ClickCancel(QDialog& form)
{
    Find<QAbstractButton>(form, "btnCancel").click();
}
