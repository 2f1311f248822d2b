#pragma once

#include <memory>

#include "app/forms/editor_form.h"

namespace Ui {
class FormRainGauge;
}

// Edits one rain gauge: identity, location, river basin and subcatchment,
// network membership, and where, for which years and at which smallest time
// scale its data can be had.
class TFormRainGauge : public TStationEditor<TRainGauge> {
    Q_OBJECT
public:
    explicit TFormRainGauge(QWidget* parent = nullptr);
    ~TFormRainGauge() override;

protected:
    void BuildForm() override;
    void ResetForm() override;
    void LoadStation() override;
    void StoreStation() override;
    bool Validate() override;

private:
    std::unique_ptr<Ui::FormRainGauge> ui_;
};

extern TFormRainGauge* FormRainGauge;

// Opens the rain-gauge form on a rain gauge; false after Cancel or for another object.
bool EditRainGauge(TObject* object);
