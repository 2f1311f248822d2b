// The file commands of the main window.

#include <QLineEdit>

#include "app/form_support.h"
#include "app/main/ozr_main.h"
#include "app/main/ozr_regions.h"
#include "appcore/save_as.h"
#include "appcore/sub_units.h"
#include "io/ozr_io_load.h"
#include "model/ozr_types.h"
#include "ui_ozr_main.h"

// A data file is read into a session without a country only: reading one
// over data entered by hand would mix two submissions.
void TFormMain::OpenData()
{
    TSession& session = CurrentSession();
    if (session.GetCountry()) {
        Dialogs().MessageDlg("In order to change the selected country restart the application.",
                             TMsgDlgType::mtWarning, mbOK);
    } else if (const auto chosen = Dialogs().OpenFile(openDialog1_)) {
        session.FDataFile = *chosen;
        OpenDataFile();
    }
    FormRegions->FillRegionsGrid();
}

bool TFormMain::ValidateSessionInfo()
{
    return ShowFindings(CheckSessionInfo(TextOf(*ui_->edtResponsible), TextOf(*ui_->edtEmail),
                                         CurrentSession().GetCountry()));
}

bool TFormMain::SaveData()
{
    if (!ValidateSessionInfo())
        return false;
    StoreSessionInfo();
    TSession& session = CurrentSession();
    TFileDialogRequest request = saveDialog1_;
    request.FileName = ProposedDataFileName(session.GetCountry()->GetCode(), Now());
    const auto chosen = Dialogs().SaveFile(request);
    if (!chosen || !SaveDataFileAndZipCopy(*chosen))
        return false;
    session.SetModified(false);
    return true;
}

void TFormMain::SaveAsClick()
{
    SaveData();
    FormRegions->FillRegionsGrid();
}

void TFormMain::AddSubUnitsFromFile()
{
    AddSubUnits("su.txt");
}
