#include "app/diagrams/ozr_diag_abs2.h"

#include "app/diagrams/diagram_pictures.h"

TFormAbs2* FormAbs2 = nullptr;

TFormAbs2::TFormAbs2(QWidget* parent)
    : TDiagramForm(parent, QStringLiteral("FormAbs2"),
                   QStringLiteral("Total Volume of Freshwater Abstraction (Diagram 2)"),
                   QSize(798, 437), PublicSupplyPicture())
{
}
