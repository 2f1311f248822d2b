#pragma once

// The editor of one region's water-abstraction tables: seven tables of
// quantities on seven pages, the kind of each non-freshwater source, the LTAA
// period and the remarks. Column 2 and 3 of the self-supply table show the
// totals of the surface-water and groundwater tables by sector, and always
// hold the same texts as those.

#include <array>
#include <memory>

#include "app/forms/editor_form.h"
#include "appcore/water_abs_tables.h"

namespace Ui {
class FormWaterAbs;
}
class QComboBox;
class TMirroredCells;
class TQvStringGrid;

class TFormWaterAbs : public TRegionEditor {
    Q_OBJECT
public:
    explicit TFormWaterAbs(QWidget* parent = nullptr);
    ~TFormWaterAbs() override;

public slots:
    // "Clear table" of the pages, in page order.
    void BitBtn12Click();
    void BitBtn11Click();
    void BitBtn10Click();
    void BitBtn9Click();
    void BitBtn7Click();
    void BitBtn8Click();
    void BitBtn13Click();
    // "Show diagram" of pages 1 to 5; help runs through the editor's own
    // handler.
    void BitBtn1Click();
    void BitBtn2Click();
    void BitBtn3Click();
    void BitBtn4Click();
    void BitBtn5Click();
    void BitBtnClearClick();

protected:
    void BuildForm() override;
    void ResetForm() override;
    void LoadRegion() override;
    bool Validate() override;
    void StoreRegion() override;
    void StoreTables(TRegionTables& tables) const override;

private:
    void SetUpGrids();
    void SetUpSourceBoxes();
    void ConnectButtons();
    TQvStringGrid& Grid(int table) const { return *grids_[static_cast<std::size_t>(table)]; }
    TWaterAbsTexts TableTexts() const;
    void ShowTableTexts(const TWaterAbsTexts& texts);
    void LoadSources(const TRegionTables& tables);
    void StoreSources(TRegionTables& tables) const;

    std::unique_ptr<Ui::FormWaterAbs> ui;
    std::array<TQvStringGrid*, AbsTableCount> grids_{};
    std::array<QComboBox*, 11> sourceBoxes_{};
    TMirroredCells* mirrors_;
};

extern TFormWaterAbs* FormWaterAbs;
