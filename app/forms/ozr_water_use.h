#pragma once

// The editor of one region's water-use tables: freshwater used in total, from
// public water supply systems and by self-supply, and recycled water, each by
// economic sector and period, and the region's large cities, industries and
// agricultural units. The grids' texts are the only copy of the values being
// edited; the region is written only after OK.

#include <array>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "app/forms/editor_form.h"

namespace Ui {
class TFormWaterUse;
}

class QPushButton;
class TCheckMessages;
class TQvStringGrid;

class TFormWaterUse : public TRegionEditor {
    Q_OBJECT
public:
    explicit TFormWaterUse(QWidget* parent = nullptr);
    ~TFormWaterUse() override;

    // The help button of this form is BitBtn6; BitBtn1 to BitBtn3 clear the
    // large-item grids.
    static constexpr int HelpContext = 5000;

public slots:
    void BitBtnClearClick();

protected:
    void BuildForm() override;
    void ResetForm() override;
    void LoadRegion() override;
    void StoreRegion() override;
    void StoreTables(TRegionTables& tables) const override;
    bool Validate() override;

private:
    using TLargeItems = std::vector<ozr_wu_large_item>;

    struct TSectorGrid {
        TQvStringGrid* Grid;
        QPushButton* ClearButton;
        std::span<const std::string> Titles;
        // The table's name in the number messages and in the monthly-sum
        // messages, which spell self-supply differently.
        const char* NumberName;
        const char* SumName;
    };
    struct TLargeItemGrid {
        TQvStringGrid* Grid;
        QPushButton* ClearButton;
        TLargeItems TRegionTables::*Items;
        const char* TableName;
    };

    void SetUpGrids();
    void ConnectButtons();
    void SetTitles();
    std::vector<TQvStringGrid*> AllGrids() const;
    void StoreLargeItems(TRegionTables& tables) const;
    void CheckLargeItems(TCheckMessages& messages) const;

    std::unique_ptr<Ui::TFormWaterUse> ui_;
    std::array<TSectorGrid, 4> sectorGrids_;
    std::array<TLargeItemGrid, 3> largeItemGrids_;
};

extern TFormWaterUse* FormWaterUse;
