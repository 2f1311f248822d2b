#include "app/diagrams/ozr_diag_wb_return_flow.h"

#include "app/diagrams/diagram_pictures.h"

TFormReturnFlowDiagram* FormReturnFlowDiagram = nullptr;

TFormReturnFlowDiagram::TFormReturnFlowDiagram(QWidget* parent)
    : TDiagramForm(parent, QStringLiteral("FormReturnFlowDiagram"), QStringLiteral("Return flow"),
                   QSize(875, 556), ReturnFlowPicture())
{
}
