#include "app/diagrams/diagram_pictures.h"

namespace {

constexpr int kBoxHeight = 50;
constexpr int kHeadTop = 26;

using TBoxId = TBoxDiagram::TBoxId;

struct TSourceBoxes {
    TBoxId SurfaceWater;
    TBoxId Groundwater;
};

TBoxId AbstractionHead(TBoxDiagram& picture, int centreX, int top = kHeadTop)
{
    return picture.Box(CentredBox(centreX, top, 340, kBoxHeight),
                       QStringLiteral("Total Volume of Freshwater Abstraction"), TBoxStyle::Head);
}

TBoxId RainwaterBox(TBoxDiagram& picture, int centreX, int top, int width)
{
    return picture.Box(CentredBox(centreX, top, width, kBoxHeight),
                       QStringLiteral("Of which: from Rainwater Harvesting"), TBoxStyle::Side);
}

// Surface water and groundwater side by side under the total they make up.
TSourceBoxes BySource(TBoxDiagram& picture, TBoxId total, int leftX, int rightX, int top, int width)
{
    const TSourceBoxes sources{picture.Box(CentredBox(leftX, top, width, kBoxHeight),
                                           QStringLiteral("Of which: from Surface water (SW)")),
                               picture.Box(CentredBox(rightX, top, width, kBoxHeight),
                                           QStringLiteral("Of which: from Groundwater (GW)"))};
    picture.Breakdown(total, {sources.SurfaceWater, sources.Groundwater},
                      QStringLiteral("Breakdown by source"));
    return sources;
}

void ByProvider(TBoxDiagram& picture, TBoxId total, TBoxId publicSupply, TBoxId selfSupply)
{
    picture.Breakdown(total, {publicSupply, selfSupply}, QStringLiteral("Breakdown by provider"));
}

// The sector pictures: the tree down to surface water and groundwater of
// self-supply, and the list of sectors under one of the two.
TBoxDiagram SectorsPicture(QSize size, bool underGroundwater)
{
    TBoxDiagram picture(size);
    const int centre = size.width() / 2;
    const TBoxId head = AbstractionHead(picture, centre, 20);
    const TBoxId selfSupply =
        picture.Box(CentredBox(centre + 75, 160, 180, kBoxHeight), QStringLiteral("self-supply"));
    ByProvider(picture, head,
               picture.Box(CentredBox(centre - 165, 160, 220, kBoxHeight),
                           QStringLiteral("Public Water Supply Systems (PWSS)")),
               selfSupply);
    const TSourceBoxes sources = BySource(picture, selfSupply, centre - 25, centre + 175, 305, 185);
    const TBoxId sectors = picture.ListBox(
        CentredBox(centre + (underGroundwater ? 25 : -15), size.height() - 220, 520, 200),
        {QStringLiteral("Domestic water use"),
         QStringLiteral("Agriculture (NACE A), of which: Irrigation"),
         QStringLiteral("Mining & Quarrying (NACE B)"),
         QStringLiteral("Manufacturing industry (NACE C), of which: cooling water for industry"),
         QStringLiteral("Production of electricity (NACE D), of which: cooling water for "
                        "electricity, Hydropower generation"),
         QStringLiteral("Services (e.g. tourism) (NACE I)"),
         QStringLiteral("Other (e.g. construction)")});
    picture.Breakdown(underGroundwater ? sources.Groundwater : sources.SurfaceWater, {sectors},
                      QStringLiteral("Breakdown by sector"));
    return picture;
}

}  // namespace

TBoxDiagram TotalAbstractionPicture()
{
    TBoxDiagram picture(QSize(859, 264));
    const TBoxId head = AbstractionHead(picture, 430);
    picture.SideLink(head, RainwaterBox(picture, 123, kHeadTop, 216));
    picture.SideLink(
        head, picture.Box(CentredBox(737, kHeadTop, 216, kBoxHeight),
                          QStringLiteral("Of which: for hydropower generation"), TBoxStyle::Side));
    BySource(picture, head, 280, 580, 186, 270);
    return picture;
}

TBoxDiagram PublicSupplyPicture()
{
    TBoxDiagram picture(QSize(799, 436));
    const TBoxId publicSupply =
        picture.Box(CentredBox(340, 180, 300, kBoxHeight),
                    QStringLiteral("by Public Water Supply Systems (PWSS)"));
    ByProvider(
        picture, AbstractionHead(picture, 400), publicSupply,
        picture.Box(CentredBox(665, 180, 200, kBoxHeight), QStringLiteral("by self-supply")));
    picture.SideLink(publicSupply, RainwaterBox(picture, 92, 180, 156));
    BySource(picture, publicSupply, 200, 480, 340, 270);
    return picture;
}

TBoxDiagram SelfSupplyPicture()
{
    TBoxDiagram picture(QSize(695, 444));
    const TBoxId selfSupply =
        picture.Box(CentredBox(400, 180, 180, kBoxHeight), QStringLiteral("self-supply"));
    ByProvider(picture, AbstractionHead(picture, 347),
               picture.Box(CentredBox(140, 180, 250, kBoxHeight),
                           QStringLiteral("Public Water Supply Systems (PWSS)")),
               selfSupply);
    picture.SideLink(selfSupply, RainwaterBox(picture, 595, 180, 170));
    BySource(picture, selfSupply, 265, 535, 340, 250);
    return picture;
}

TBoxDiagram SurfaceWaterSectorsPicture()
{
    return SectorsPicture(QSize(584, 666), false);
}

TBoxDiagram GroundwaterSectorsPicture()
{
    return SectorsPicture(QSize(615, 669), true);
}

TBoxDiagram ReturnFlowPicture()
{
    TBoxDiagram picture(QSize(874, 557));
    const TBoxId head = picture.Box(CentredBox(295, 30, 220, kBoxHeight),
                                    QStringLiteral("Return Flow"), TBoxStyle::Head);
    picture.Box(QRect(560, 26, 290, 58),
                QStringLiteral("Leakage losses between points of use and reuse (during transport)"),
                TBoxStyle::Detached);
    const TBoxId afterUse =
        picture.Box(CentredBox(441, 165, 240, kBoxHeight), QStringLiteral("Returned After Use"));
    picture.Breakdown(head, {picture.Box(CentredBox(150, 165, 270, kBoxHeight),
                                         QStringLiteral("Returned Before Use (leakage losses)")),
                             afterUse});
    const TBoxId treated =
        picture.Box(CentredBox(217, 305, 200, kBoxHeight), QStringLiteral("Treated effluent"));
    const TBoxId untreated =
        picture.Box(CentredBox(665, 305, 200, kBoxHeight), QStringLiteral("Non-treated effluent"));
    picture.Breakdown(afterUse, {treated, untreated});
    picture.Breakdown(
        treated,
        {picture.Box(CentredBox(112, 445, 200, 60), QStringLiteral("Discharged from UWWTP")),
         picture.Box(CentredBox(322, 445, 200, 60), QStringLiteral("Discharged from other WWTP"))});
    picture.Breakdown(
        untreated,
        {picture.Box(CentredBox(555, 445, 230, 60),
                     QStringLiteral("Of which: Cooling water (generated from NACE B, C, D)")),
         picture.Box(CentredBox(775, 445, 190, 60),
                     QStringLiteral("Of which: used for Hydropower generation"))});
    return picture;
}
