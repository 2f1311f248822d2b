#pragma once

#include <memory>
#include <optional>

#include "app/forms/editor_form.h"

namespace Ui {
class FormFlow;
}

// Edits one stream-flow station: identity, location, river and catchment,
// network membership, where its data can be had, the monthly and LTA monthly
// flows, the extremes, the annual and LTAA flows and the daily flows of the
// reporting year. The daily grid follows the year in the year box.
class TFormFlow : public TStationEditor<TStreamFlow> {
    Q_OBJECT
public:
    explicit TFormFlow(QWidget* parent = nullptr);
    ~TFormFlow() override;

public slots:
    void cmboxYearChange(const QString& text);
    void BitBtn8Click();
    void BitBtn2Click();

protected:
    void BuildForm() override;
    void ResetForm() override;
    void LoadStation() override;
    void StoreStation() override;
    bool Validate() override;

private:
    // Labels the rows of the daily grid with the days of the year and takes
    // its day count; the values are left to the caller.
    void LabelDailyRows(int year);

    std::unique_ptr<Ui::FormFlow> ui_;
    // The days of the year that the daily grid shows.
    int FDayCount = 366;
    std::optional<int> FLabelledYear;
};

extern TFormFlow* FormFlow;

// Opens the stream-flow form on a stream-flow station; false after Cancel or
// for another object.
bool EditStreamFlow(TObject* object);
