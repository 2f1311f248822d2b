#pragma once

// Creates stations of one kind for regions of the session's country from a
// CSV file, one station per line.

#include <optional>

#include "app/imports/csv_import_form.h"
#include "model/ozr_types.h"

namespace Ui {
class StationImportSettings;
}

class TFormCSVStationsImport : public TCsvImportForm {
    Q_OBJECT
public:
    explicit TFormCSVStationsImport(QWidget* parent = nullptr);
    ~TFormCSVStationsImport() override;

protected:
    std::unique_ptr<TCsvImport> NewImport() const override;

private:
    std::optional<TStationKind> ChosenKind() const;

    std::unique_ptr<Ui::StationImportSettings> settingsUi;
};

extern TFormCSVStationsImport* FormCSVStationsImport;
