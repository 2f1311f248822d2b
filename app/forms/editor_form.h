#pragma once

// The pattern every data form follows: a modal editor over one object. Opening
// empties the form and loads the object; OK validates and closes only when no
// error was found; after OK the object is stored and the session marked
// modified; Cancel leaves the object untouched.

#include <string>

#include <QDialog>

#include "appcore/kept_entries.h"
#include "model/ozr_types.h"

class QAbstractButton;
class QTabWidget;

class TEditorForm : public QDialog {
    Q_OBJECT
public:
    TEditorForm(QWidget* parent, int helpContext);

    // Builds the form's controls now, if they are not built yet.
    void EnsureBuilt();

public slots:
    void btnInputClick();
    void btnCancelClick();
    void BitBtn1Click();

protected:
    // Wires the bottom bar; `pages` (when the form has tab pages) shows its
    // first page whenever the form opens.
    void SetUpEditor(QAbstractButton& ok, QAbstractButton& cancel, QAbstractButton& help,
                     QTabWidget* pages = nullptr);
    // Reset, load, run modally; store and mark the session modified after OK.
    bool EditObject();

    // A form with many controls builds them when it first opens rather than
    // while the program starts: BuildForm runs once, before the first load or
    // show. Forms that build in their constructor leave it empty.
    virtual void BuildForm() {}
    void showEvent(QShowEvent* event) override;

    virtual void ResetForm() = 0;
    virtual void LoadObject() = 0;
    virtual void StoreObject() = 0;
    // Runs the form's checks and shows their findings; true when none is an error.
    virtual bool Validate() = 0;

private:
    int helpContext_;
    QTabWidget* pages_ = nullptr;
    bool built_ = false;
};

// The station forms: Edit opens an existing station, New creates one first and
// frees it again when the user cancels.
template <typename TStation>
class TStationEditor : public TEditorForm {
public:
    using TEditorForm::TEditorForm;

    bool Edit(TStation* station)
    {
        FStation = station;
        return EditObject();
    }

    bool New(TRegion* region, const std::string& id, TStation*& station)
    {
        auto* created = new TStation(region, id);
        if (Edit(created)) {
            station = created;
            return true;
        }
        delete created;
        station = nullptr;
        return false;
    }

protected:
    virtual void LoadStation() = 0;
    virtual void StoreStation() = 0;

    void LoadObject() final { LoadStation(); }
    void StoreObject() final { StoreStation(); }

    TStation* FStation = nullptr;
};

// The national-table forms edit the tables of one region.
class TRegionEditor : public TEditorForm {
public:
    using TEditorForm::TEditorForm;

    bool Edit(TRegion* region);

protected:
    virtual void LoadRegion() = 0;
    virtual void StoreRegion() = 0;
    // The form's entries into the tables, all but the year box's year.
    virtual void StoreTables(TRegionTables& tables) const = 0;
    // Once the form's own checks found no error, which the storing needs: a
    // warning for each entry that the data file would not keep.
    void CheckEntriesKept(TNationalTable table, TCheckMessages& messages) const;

    void LoadObject() final { LoadRegion(); }
    void StoreObject() final { StoreRegion(); }

    TRegion* FRegion = nullptr;
};
