#include "tests/app/main/main_window_fixture.h"

#include <filesystem>

#include <QAbstractItemView>
#include <QComboBox>
#include <QtTest>

#include "components/StrGrdQv.h"
#include "platform/program_folder.h"
#include "tests/support/files.h"

TRegionsFileBesideProgram::TRegionsFileBesideProgram(const std::string& contents)
    : folder_(ProgramFolder() + "data")
{
    createdFolder_ = std::filesystem::create_directory(folder_);
    wqtest::WriteTextFile(folder_ + "/OZR_wq_regions.xml", contents);
}

TRegionsFileBesideProgram::~TRegionsFileBesideProgram()
{
    std::filesystem::remove(folder_ + "/OZR_wq_regions.xml");
    if (createdFolder_)
        std::filesystem::remove(folder_);
}

std::string TRegionsFileBesideProgram::ThreeCountries()
{
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
           "<OZR_WQ_Regions>\n"
           "  <Country><Code>GR</Code><Name>Greece</Name>\n"
           "    <RBD><Code>GR01</Code><Name>Western Peloponnese</Name>\n"
           "      <SU><Code>GR01a</Code><Name>Alfeios</Name></SU>\n"
           "    </RBD>\n"
           "  </Country>\n"
           "  <Country><Code>CY</Code><Name>Cyprus</Name></Country>\n"
           "  <Country><Code>MT</Code><Name>Malta</Name></Country>\n"
           "</OZR_WQ_Regions>\n";
}

TMainWindowSetup::TMainWindowSetup() : main_(std::make_unique<TFormMain>())
{
    FormMain = main_.get();
    FormRegions = new TFormRegions(main_.get());
    FormRegions->FillRegionsGrid();
}

TMainWindowSetup::~TMainWindowSetup()
{
    FormRegions = nullptr;
    FormMain = nullptr;
}

void PickCountry(TFormMain& main, int index)
{
    auto* box = main.findChild<QComboBox*>(QStringLiteral("cmboxCountry"));
    box->showPopup();
    QAbstractItemView* list = box->view();
    const QRect item = list->visualRect(box->model()->index(index, 0));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, item.center());
}

void DoubleClickCell(TQvStringGrid& grid, int col, int row)
{
    QWidget* viewport = grid.viewport();
    const QPoint centre = grid.visualRect(grid.model()->index(row - 1, col - 1)).center();
    QTest::mouseClick(viewport, Qt::LeftButton, {}, centre);
    QTest::mouseDClick(viewport, Qt::LeftButton, {}, centre);
    QTest::mouseRelease(viewport, Qt::LeftButton, {}, centre);
}

void TMainWindowSetup::Type(const char* field, const QString& text)
{
    QTest::keyClicks(Find<QWidget>(field), text);
}

void TMainWindowSetup::FillHeader()
{
    PickCountry(0);
    Type("edtResponsible", QStringLiteral("Maria P."));
    Type("edtEmail", QStringLiteral("maria@example.org"));
}

TProgramSetup::TProgramSetup()
{
    FormRegions->FillRegionsGrid();
}
