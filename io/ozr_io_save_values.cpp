#include <span>

#include "io/ozr_io_save.h"
#include "platform/sysutils.h"

namespace {

void AddTextElement(TXMLNode parent, const char* tag, std::string_view text)
{
    parent.AddChild(tag).SetText(text);
}

}  // namespace

void WriteReal(TXMLNode Parent, const char* Tag, double Value)
{
    if (Value > MissingReal)
        AddTextElement(Parent, Tag, FloatToStr(Value));
}

void WriteInteger(TXMLNode Parent, const char* Tag, int Value)
{
    if (Value > MissingInteger)
        AddTextElement(Parent, Tag, IntToStr(Value));
}

void WriteYesNo(TXMLNode Parent, const char* Tag, int Value)
{
    if (Value <= MissingInteger)
        return;
    const char* word = Value == YesValue ? "yes" : Value == NoValue ? "no" : "unknown";
    AddTextElement(Parent, Tag, word);
}

void WriteBoolean(TXMLNode Parent, const char* Tag, bool Value)
{
    AddTextElement(Parent, Tag, BoolToStr(Value));
}

void WriteText(TXMLNode Parent, const char* Tag, const std::string& Text)
{
    if (!Trim(Text).empty())
        AddTextElement(Parent, Tag, Text);
}

void WriteEntityAttributes(TXMLNode Parent, const char* Tag, const TEntity& Station)
{
    TXMLNode attributes = Parent.AddChild(Tag);
    AddTextElement(attributes, "id", Station.GetID());
    AddTextElement(attributes, "name", Station.FName);
    WriteInteger(attributes, "year", Station.FYear);
    WriteReal(attributes, "latitude", Station.FLatitude);
    WriteReal(attributes, "longitude", Station.FLongitude);
    WriteText(attributes, "coordinate_system", Station.FCoordinateSystem);
    WriteText(attributes, "projection_system", Station.FProjectionSystem);
    WriteReal(attributes, "altitude", Station.FAltitude);
    WriteText(attributes, "remarks", Station.FRemarks);
}

void WriteEntityData(TXMLNode Parent, const char* Tag, const TEntityData& Values)
{
    if (!ArrayHasData(Values))
        return;
    TXMLNode quantity = Parent.AddChild(Tag);
    const std::span<const double> all(Values);
    WriteIndexedItems(quantity, "monthly_data", all.subspan(0, 12));
    if (ArrayRangeHasData(Values, AnnualIndex, AnnualIndex))
        WriteReal(quantity, "annual_data", Values[AnnualIndex]);
    WriteIndexedItems(quantity, "seasonal", all.subspan(WetSeasonIndex, 2));
    if (ArrayRangeHasData(Values, LTAAIndex, LTAAIndex))
        WriteReal(quantity, "LTAA", Values[LTAAIndex]);
}

void WriteWaterUseData1(TXMLNode Parent, const char* Tag, const TWaterUseData1& Table)
{
    TXMLNode table = Parent.AddChild(Tag);
    for (std::size_t s = 0; s < Table.size(); ++s)
        WriteEntityData(table, WaterUseData1Sectors[s], Table[s]);
}

void WriteWaterUseData2(TXMLNode Parent, const char* Tag, const TWaterUseData2& Table)
{
    TXMLNode table = Parent.AddChild(Tag);
    for (std::size_t s = 0; s < Table.size(); ++s)
        WriteEntityData(table, WaterUseData2Sectors[s], Table[s]);
}

void WriteLargeItem(TXMLNode Parent, const char* Tag, const ozr_wu_large_item& Item)
{
    TXMLNode item = Parent.AddChild(Tag);
    WriteText(item, "wu_item_name", Item.ItemName);
    WriteInteger(item, "wu_item_class", Item.ItemClass);
    WriteEntityData(item, "wu_item_water_use", Item.WaterUse);
}

void WriteIndexedItems(TXMLNode Parent, const char* Tag, std::span<const double> Series)
{
    if (!ArrayHasData(Series))
        return;
    for (std::size_t i = 0; i < Series.size(); ++i)
        if (Series[i] > MissingReal) {
            TXMLNode item = Parent.AddChild(Tag);
            WriteInteger(item, "indx", static_cast<int>(i) + 1);
            WriteReal(item, "value", Series[i]);
        }
}
