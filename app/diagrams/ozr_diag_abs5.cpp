#include "app/diagrams/ozr_diag_abs5.h"

#include "app/diagrams/diagram_pictures.h"

TFormAbs5* FormAbs5 = nullptr;

TFormAbs5::TFormAbs5(QWidget* parent)
    : TDiagramForm(parent, QStringLiteral("FormAbs5"),
                   QStringLiteral("Total Volume of Freshwater Abstraction (Diagram 5)"),
                   QSize(615, 668), GroundwaterSectorsPicture())
{
}
