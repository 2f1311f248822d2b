#include <span>

#include "io/ozr_io_save.h"
#include "platform/sysutils.h"

void WriteReal(TXMLElementWriter& Out, const char* Tag, double Value)
{
    if (Value > MissingReal)
        Out.TextElement(Tag, FloatToStr(Value));
}

void WriteInteger(TXMLElementWriter& Out, const char* Tag, int Value)
{
    if (Value > MissingInteger)
        Out.TextElement(Tag, IntToStr(Value));
}

void WriteYesNo(TXMLElementWriter& Out, const char* Tag, int Value)
{
    if (Value <= MissingInteger)
        return;
    const char* word = Value == YesValue ? "yes" : Value == NoValue ? "no" : "unknown";
    Out.TextElement(Tag, word);
}

void WriteBoolean(TXMLElementWriter& Out, const char* Tag, bool Value)
{
    Out.TextElement(Tag, BoolToStr(Value));
}

void WriteText(TXMLElementWriter& Out, const char* Tag, const std::string& Text)
{
    if (!Trim(Text).empty())
        Out.TextElement(Tag, Text);
}

void WriteEntityAttributes(TXMLElementWriter& Out, const char* Tag, const TEntity& Station)
{
    Out.StartElement(Tag);
    Out.TextElement("id", Station.GetID());
    Out.TextElement("name", Station.FName);
    WriteInteger(Out, "year", Station.FYear);
    WriteReal(Out, "latitude", Station.FLatitude);
    WriteReal(Out, "longitude", Station.FLongitude);
    WriteText(Out, "coordinate_system", Station.FCoordinateSystem);
    WriteText(Out, "projection_system", Station.FProjectionSystem);
    WriteReal(Out, "altitude", Station.FAltitude);
    WriteText(Out, "remarks", Station.FRemarks);
    Out.EndElement();
}

void WriteEntityData(TXMLElementWriter& Out, const char* Tag, const TEntityData& Values)
{
    if (!ArrayHasData(Values))
        return;
    Out.StartElement(Tag);
    const std::span<const double> all(Values);
    WriteIndexedItems(Out, "monthly_data", all.subspan(0, 12));
    if (ArrayRangeHasData(Values, AnnualIndex, AnnualIndex))
        WriteReal(Out, "annual_data", Values[AnnualIndex]);
    WriteIndexedItems(Out, "seasonal", all.subspan(WetSeasonIndex, 2));
    if (ArrayRangeHasData(Values, LTAAIndex, LTAAIndex))
        WriteReal(Out, "LTAA", Values[LTAAIndex]);
    Out.EndElement();
}

void WriteWaterUseData1(TXMLElementWriter& Out, const char* Tag, const TWaterUseData1& Table)
{
    Out.StartElement(Tag);
    for (std::size_t s = 0; s < Table.size(); ++s)
        WriteEntityData(Out, WaterUseData1Sectors[s], Table[s]);
    Out.EndElement();
}

void WriteWaterUseData2(TXMLElementWriter& Out, const char* Tag, const TWaterUseData2& Table)
{
    Out.StartElement(Tag);
    for (std::size_t s = 0; s < Table.size(); ++s)
        WriteEntityData(Out, WaterUseData2Sectors[s], Table[s]);
    Out.EndElement();
}

void WriteLargeItem(TXMLElementWriter& Out, const char* Tag, const ozr_wu_large_item& Item)
{
    Out.StartElement(Tag);
    WriteText(Out, "wu_item_name", Item.ItemName);
    WriteInteger(Out, "wu_item_class", Item.ItemClass);
    WriteEntityData(Out, "wu_item_water_use", Item.WaterUse);
    Out.EndElement();
}

void WriteIndexedItems(TXMLElementWriter& Out, const char* Tag, std::span<const double> Series)
{
    if (!ArrayHasData(Series))
        return;
    for (std::size_t i = 0; i < Series.size(); ++i)
        if (Series[i] > MissingReal) {
            Out.StartElement(Tag);
            WriteInteger(Out, "indx", static_cast<int>(i) + 1);
            WriteReal(Out, "value", Series[i]);
            Out.EndElement();
        }
}
