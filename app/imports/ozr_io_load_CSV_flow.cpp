#include "app/imports/ozr_io_load_CSV_flow.h"

#include "io/ozr_io_csv_flow.h"

TFormCSVFlowImport* FormCSVFlowImport = nullptr;

namespace {

constexpr int kHelpContext = 2520;

}  // namespace

TFormCSVFlowImport::TFormCSVFlowImport(QWidget* parent)
    : TCsvImportForm(parent, kHelpContext, "Errors found. Correct the errors and reload the file.")
{
    setObjectName(QStringLiteral("FormCSVFlowImport"));
    setWindowTitle(QStringLiteral("Import daily streamflow data"));
}

std::unique_ptr<TCsvImport> TFormCSVFlowImport::NewImport() const
{
    return std::make_unique<TCsvFlowImport>(CsvSettings());
}
