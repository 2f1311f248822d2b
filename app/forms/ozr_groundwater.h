#pragma once

#include <memory>

#include "app/forms/editor_form.h"

namespace Ui {
class FormGroundwater;
}

// Edits one groundwater well: identity, location, its groundwater body and
// whether that reaches beyond the river basin (district), the mean level by
// period, the months of the lowest and highest level and the LTAA years.
class TFormGroundwater : public TStationEditor<TWell> {
    Q_OBJECT
public:
    explicit TFormGroundwater(QWidget* parent = nullptr);
    ~TFormGroundwater() override;

public slots:
    void BitBtn8Click();

protected:
    void BuildForm() override;
    void ResetForm() override;
    void LoadStation() override;
    void StoreStation() override;
    bool Validate() override;

private:
    void ShowQuestionsFor(const TRegion* region);

    std::unique_ptr<Ui::FormGroundwater> ui_;
};

extern TFormGroundwater* FormGroundwater;

// Opens the well form on a well; false after Cancel or for another object.
bool EditWell(TObject* object);
