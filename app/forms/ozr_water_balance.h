#pragma once

// The editor of one region's water-balance tables: hydrometeorological
// parameters, water storage, returned, reused and desalinated water and other
// additional resources, with the hydrological units that the water comes from
// or goes to and the origin of artificial groundwater recharge.

#include <array>
#include <memory>

#include "app/forms/editor_form.h"
#include "appcore/water_balance_texts.h"

namespace Ui {
class TFormWaterBalance;
}

class TQvStringGrid;

class TFormWaterBalance : public TRegionEditor {
    Q_OBJECT
public:
    explicit TFormWaterBalance(QWidget* parent = nullptr);
    ~TFormWaterBalance() override;

public slots:
    void BitBtnClearClick();
    // Shows how the returned water breaks down; the form's data stay as they are.
    void HelpClick();

protected:
    void BuildForm() override;
    void ResetForm() override;
    void LoadRegion() override;
    void StoreRegion() override;
    void StoreTables(TRegionTables& tables) const override;
    bool Validate() override;

private:
    // The grids in the order of the tables.
    std::array<TQvStringGrid*, WaterBalanceTableCount> Grids() const;
    TWaterBalanceTexts FormTexts() const;
    void ShowTexts(const TWaterBalanceTexts& texts);
    void CheckOrigin(TArtifGWOrigin origin);
    TArtifGWOrigin CheckedOrigin() const;

    std::unique_ptr<Ui::TFormWaterBalance> ui_;
};

extern TFormWaterBalance* FormWaterBalance;
