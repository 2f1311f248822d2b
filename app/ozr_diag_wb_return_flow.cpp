#include "app/ozr_diag_wb_return_flow.h"

TFormReturnFlowDiagram* FormReturnFlowDiagram = nullptr;

TFormReturnFlowDiagram::TFormReturnFlowDiagram(QWidget* parent)
    : TDiagramForm(parent, QStringLiteral("FormReturnFlowDiagram"), QStringLiteral("Return flow"),
                   QSize(875, 556), QPixmap())
{
}
