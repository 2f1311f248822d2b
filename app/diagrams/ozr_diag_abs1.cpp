#include "app/diagrams/ozr_diag_abs1.h"

#include "app/diagrams/diagram_pictures.h"

TFormAbs1* FormAbs1 = nullptr;

TFormAbs1::TFormAbs1(QWidget* parent)
    : TDiagramForm(parent, QStringLiteral("FormAbs1"),
                   QStringLiteral("Total Volume of Freshwater Abstraction (Diagram 1)"),
                   QSize(860, 265), TotalAbstractionPicture())
{
}
