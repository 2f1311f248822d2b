#include "app/main/forms.h"

#include <ranges>

#include "app/diagrams/ozr_diag_abs1.h"
#include "app/diagrams/ozr_diag_abs2.h"
#include "app/diagrams/ozr_diag_abs3.h"
#include "app/diagrams/ozr_diag_abs4.h"
#include "app/diagrams/ozr_diag_abs5.h"
#include "app/diagrams/ozr_diag_wb_return_flow.h"
#include "app/forms/ozr_flow.h"
#include "app/forms/ozr_groundwater.h"
#include "app/forms/ozr_rain_gauge.h"
#include "app/forms/ozr_reservoirs.h"
#include "app/forms/ozr_water_abstractions.h"
#include "app/forms/ozr_water_balance.h"
#include "app/forms/ozr_water_use.h"
#include "app/imports/ozr_io_load_CSV_flow.h"
#include "app/imports/ozr_io_load_CSV_stations.h"
#include "app/main/ozr_main.h"
#include "app/main/ozr_regions.h"
#include "app/wizard/ozr_wizard.h"

template <typename TForm>
void TForms::Create(TForm*& global)
{
    auto form = std::make_unique<TForm>(FormMain);
    global = form.get();
    created_.push_back({std::move(form), [&global] { global = nullptr; }});
}

TForms::TForms()
{
    Create(FormMain);
    Create(FormWizard);
    Create(FormReservoirs);
    Create(FormWaterUse);
    Create(FormWaterBalance);
    Create(FormGroundwater);
    Create(FormFlow);
    Create(FormRegions);
    Create(FormWaterAbs);
    Create(FormAbs5);
    Create(FormReturnFlowDiagram);
    Create(FormAbs4);
    Create(FormAbs1);
    Create(FormAbs2);
    Create(FormAbs3);
    Create(FormRainGauge);
    Create(FormCSVStationsImport);
    Create(FormCSVFlowImport);
}

TForms::~TForms()
{
    for (TCreated& created : std::views::reverse(created_)) {
        created.Forget();
        created.Form.reset();
    }
}
