#include "app/imports/ozr_io_load_CSV_stations.h"

#include "app/form_support.h"
#include "io/ozr_io_csv_stations.h"
#include "ui_ozr_io_load_CSV_stations.h"

TFormCSVStationsImport* FormCSVStationsImport = nullptr;

namespace {

constexpr int kHelpContext = 2510;

}  // namespace

TFormCSVStationsImport::TFormCSVStationsImport(QWidget* parent)
    : TCsvImportForm(parent, kHelpContext,
                     "Errors found. Nothing imported. Correct the errors and reload the file."),
      settingsUi(std::make_unique<Ui::StationImportSettings>())
{
    auto* settings = new QWidget(this);
    settingsUi->setupUi(settings);
    AddOwnSettings(*settings);
    InitYearBox(*settingsUi->cmboxYear);
    setObjectName(QStringLiteral("FormCSVStationsImport"));
    setWindowTitle(QStringLiteral("Import stations"));
}

TFormCSVStationsImport::~TFormCSVStationsImport() = default;

std::optional<TStationKind> TFormCSVStationsImport::ChosenKind() const
{
    if (settingsUi->rbReservoir->isChecked())
        return skReservoir;
    if (settingsUi->rbFlow->isChecked())
        return skStreamFlow;
    if (settingsUi->rbPrecipitation->isChecked())
        return skRainGauge;
    if (settingsUi->rbGroundwater->isChecked())
        return skWell;
    return std::nullopt;
}

std::unique_ptr<TCsvImport> TFormCSVStationsImport::NewImport() const
{
    return std::make_unique<TCsvStationsImport>(TStationImportSettings{
        CsvSettings(), ChosenKind(), ToStd(settingsUi->cmboxYear->currentText())});
}
