#include "app/diagrams/ozr_diag_abs4.h"

#include "app/diagrams/diagram_pictures.h"

TFormAbs4* FormAbs4 = nullptr;

TFormAbs4::TFormAbs4(QWidget* parent)
    : TDiagramForm(parent, QStringLiteral("FormAbs4"),
                   QStringLiteral("Total Volume of Freshwater Abstraction (Diagram 4)"),
                   QSize(584, 666), SurfaceWaterSectorsPicture())
{
}
