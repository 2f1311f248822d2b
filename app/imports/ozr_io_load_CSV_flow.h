#pragma once

// Fills the daily values of existing stream-flow stations from a CSV file, one
// value per line.

#include "app/imports/csv_import_form.h"

class TFormCSVFlowImport : public TCsvImportForm {
    Q_OBJECT
public:
    explicit TFormCSVFlowImport(QWidget* parent = nullptr);

protected:
    std::unique_ptr<TCsvImport> NewImport() const override;
};

extern TFormCSVFlowImport* FormCSVFlowImport;
