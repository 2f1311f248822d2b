#pragma once

#include <memory>

#include "app/forms/editor_form.h"

namespace Ui {
class FormReservoirs;
}

// Edits one reservoir: identity, location, type, storage capacity, and the
// inflow and outflow of the reporting year by period with their LTAA years.
class TFormReservoirs : public TStationEditor<TReservoir> {
    Q_OBJECT
public:
    explicit TFormReservoirs(QWidget* parent = nullptr);
    ~TFormReservoirs() override;

public slots:
    void BitBtn8Click();

protected:
    void BuildForm() override;
    void ResetForm() override;
    void LoadStation() override;
    void StoreStation() override;
    bool Validate() override;

private:
    std::unique_ptr<Ui::FormReservoirs> ui_;
};

extern TFormReservoirs* FormReservoirs;

// Opens the reservoir form on a reservoir; false after Cancel or for another object.
bool EditReservoir(TObject* object);
