#pragma once

// Leads the user in a few steps to the data-entry form that fits: the kind of
// data, the spatial scale, a region of the session's country and, for
// stations, a new station or an existing one. Each answer opens the next
// section; answering an earlier one again starts over from there. The wizard
// changes nothing itself: the forms it opens do.

#include <cstdint>
#include <memory>
#include <vector>

#include <QDialog>

#include "model/ozr_types.h"

namespace Ui {
class FormWizard;
}

class TFormWizard : public QDialog {
    Q_OBJECT
public:
    explicit TFormWizard(QWidget* parent = nullptr);
    ~TFormWizard() override;

public slots:
    void FormShow();

    void rbGroundwaterClick() { SetDataType(skWell); }
    void rbReservoirClick() { SetDataType(skReservoir); }
    void rbFlowClick() { SetDataType(skStreamFlow); }
    void rbPrecipitationClick() { SetDataType(skRainGauge); }
    void rbWaterBalanceClick() { SetDataType(WaterBalanceType); }
    void rbWaterUseClick() { SetDataType(WaterUseType); }
    void rbWaterAbstractionsClick() { SetDataType(WaterAbsType); }

    void rbCountryClick() { SetScale(CountryScale); }
    void rbNUTSClick() { SetScale(NUTSScale); }
    void rbRBDClick() { SetScale(RBDScale); }
    void rbSUClick() { SetScale(SUScale); }
    void rbRBClick() { SetScale(RBScale); }

    void cmboxRegionsSelect();
    void rbNewEntityClick();
    void rbUpdateDataClick();
    void cmboxEntitiesSelect();
    void btnInputClick();
    void BitBtn1Click();

protected:
    void showEvent(QShowEvent* event) override;

private:
    // Data types 0 to 3 are the station kinds; the regional tables follow.
    static constexpr std::uint8_t WaterBalanceType = 4;
    static constexpr std::uint8_t WaterUseType = 5;
    static constexpr std::uint8_t WaterAbsType = 6;

    enum : std::uint8_t { CountryScale, NUTSScale, RBDScale, SUScale, RBScale };

    void AlignBoxes();
    void ConnectHandlers();
    void SetStep(std::uint8_t step);
    void SetDataType(std::uint8_t dataType);
    void SetScale(std::uint8_t scale);
    void SelectRegion(TRegion* region);
    void RefreshEntities();
    void FillEntities(const TListOZR& list);

    bool IsStationType() const { return FDataType <= skRainGauge; }
    void ShowCountry();
    void FillRegions();
    void OfferScales();
    // New or Edit on the kind's form, as the entity section says.
    template <typename TStation, typename TForm>
    void EnterStation(TForm& form);

    std::uint8_t FStep = 0;
    std::uint8_t FScale = CountryScale;
    TRegion* FSelectedRegion = nullptr;
    std::uint8_t FDataType = skWell;

    // The objects of the items of cmboxRegions and cmboxEntities, by position.
    std::vector<TRegion*> regions_;
    std::vector<TEntity*> entities_;

    std::unique_ptr<Ui::FormWizard> ui_;
};

extern TFormWizard* FormWizard;
