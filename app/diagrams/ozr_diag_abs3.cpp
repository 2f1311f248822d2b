#include "app/diagrams/ozr_diag_abs3.h"

#include "app/diagrams/diagram_pictures.h"

TFormAbs3* FormAbs3 = nullptr;

TFormAbs3::TFormAbs3(QWidget* parent)
    : TDiagramForm(parent, QStringLiteral("FormAbs3"),
                   QStringLiteral("Total Volume of Freshwater Abstraction (Diagram 3)"),
                   QSize(694, 442), SelfSupplyPicture())
{
}
