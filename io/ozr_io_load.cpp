#include "io/ozr_io_load.h"

#include <memory>

#include "io/ozr_io_load_reading.h"
#include "model/session_observer.h"
#include "platform/dialogs.h"
#include "platform/exception.h"
#include "platform/regional_settings.h"
#include "platform/sysutils.h"

namespace {

TSession& CurrentSessionOrFail()
{
    if (!Session)
        throw Exception("No session has been created.");
    return *Session;
}

// The first character of a UTF-8 text, whole.
std::string FirstCharacter(const std::string& Text)
{
    std::size_t length = 1;
    while (length < Text.size() && (static_cast<unsigned char>(Text[length]) & 0xC0) == 0x80)
        ++length;
    return Text.substr(0, length);
}

// False when the file names a decimal separator other than the computer's:
// its reals would be misread, so the user is told and nothing is read.
bool DecimalSeparatorMatches(const TXMLOzr_wq& Root, const std::string& FileName)
{
    if (!Root.ChildNode("DecimalSeparator").HasChildNodes())
        return true;
    const std::string fileSeparator = FirstCharacter(Root.DecimalSeparator());
    const std::string computerSeparator(1, DecimalSeparator());
    if (fileSeparator == computerSeparator)
        return true;
    Dialogs().MessageDlg("The decimal separator for real values ('" + fileSeparator +
                             "') used in the data file ('" + FileName +
                             "') does not match with the default one in your computer ('" +
                             computerSeparator +
                             "'). Please adjust the regional settings in your PC and load this "
                             "file again.",
                         TMsgDlgType::mtError, mbOK);
    return false;
}

// Nothing after the root is read for a country that the region tree lacks.
void ReadRootAttributes(const TXMLOzr_wq& Root, const TSession& Target,
                        TDataFileStaging::TRootValues& Values)
{
    Values.Responsible = Root.Responsible();
    Values.Email = Root.Email();
    Values.CreationDate = Root.CreationDate();
    const std::string code = Root.Country();
    if (!FindRegionByCode(Target.FCountries, code, Values.Country))
        throw Exception("Unknown country code: " + code);
    Values.Remarks = Root.Remarks();
}

// The region's tables are noted to be read with the others, at Order; its
// stations are read at once, after them in the order of the file.
void ReadRegion(const TXMLOzr_wq_region& Element, std::size_t Order, TDataFileStaging& Staging,
                TTableReads& Tables)
{
    const TRegionType type = StrToRegionType(Element.type());
    TRegion* region = nullptr;
    if (!FindRegion(Element.code(), type, region))
        return;
    const TXMLChildIndex children(Element);
    if (children.Find("ozr_water_balance").HasChildNodes() ||
        children.Find("ozr_water_abstraction").HasChildNodes() ||
        children.Find("ozr_water_use").HasChildNodes())
        Tables.Add(Order, children, Staging.TablesOf(*region));
    ReadStations(Element, *region, Staging);
}

// Each region element takes two positions in the order of reading: its
// tables, then its stations. A failure on the walk still reports a table
// that a reading in order would have failed on first.
void ReadContent(const TXMLOzr_wq& Root, const TSession& Target, TDataFileStaging& Staging)
{
    ReadRootAttributes(Root, Target, Staging.Root);
    TTableReads tables;
    std::size_t order = 0;
    try {
        for (const TXMLOzr_wq_region region : Root.region()) {
            ReadRegion(region, order, Staging, tables);
            order += 2;
        }
    } catch (...) {
        tables.ReadBefore(order + 1);
        throw;
    }
    tables.ReadBefore(order);
}

}  // namespace

void OpenDataFile()
{
    LoadDataFile();
    TSession& session = CurrentSessionOrFail();
    if (TSessionObserver* observer = session.GetObserver())
        observer->ShowSessionInfo();
    session.SetModified(false);
}

void LoadDataFile()
{
    TSession& session = CurrentSessionOrFail();
    auto root = std::make_shared<TXMLOzr_wq>(Loadozr_wq(session.FDataFile));
    if (!DecimalSeparatorMatches(*root, session.FDataFile)) {
        session.FDataDoc = std::move(root);
        return;
    }
    TDataFileStaging staging(session);
    try {
        ReadContent(*root, session, staging);
    } catch (...) {
        staging.Discard();
        throw;
    }
    staging.Apply(std::move(root));
}

void ReadIndexedItem(const TXMLArrayOfDoublePosZero& Item, const char* Tag,
                     std::span<double> Series)
{
    // Its two values found in one pass, as there are millions of items.
    TXMLNode indexElement;
    TXMLNode valueElement;
    for (TXMLNode child = Item.FirstChild(); !child.IsNull(); child = child.NextSibling()) {
        if (indexElement.IsNull() && child.HasName("indx"))
            indexElement = child;
        else if (valueElement.IsNull() && child.HasName("value"))
            valueElement = child;
        else
            continue;
        if (!indexElement.IsNull() && !valueElement.IsNull())
            break;
    }
    const int index = ElementValue<int>(indexElement, "indx");
    if (index < 1 || static_cast<std::size_t>(index) > Series.size())
        throw EConvertError("The element \"" + std::string(Tag) + "\" has the index " +
                            IntToStr(index) + ", outside 1 to " + IntToStr(Series.size()));
    Series[static_cast<std::size_t>(index) - 1] = ElementValue<double>(valueElement, "value");
}

void ReadIndexedItems(const TXMLNode& First, const char* Tag, std::span<double> Series)
{
    for (TXMLNode item = First; !item.IsNull(); item = item.NextSibling(Tag))
        ReadIndexedItem(TXMLArrayOfDoublePosZero(item), Tag, Series);
}

void ReadEntityAttributes(const TXMLEntityAttributesWQ& Element, TEntity& Station)
{
    const TXMLChildIndex children(Element);
    Station.SetID(children.Find("id").Text());
    Station.FName = children.Find("name").Text();
    ReadValue(children, "year", Station.FYear);
    ReadValue(children, "latitude", Station.FLatitude);
    ReadValue(children, "longitude", Station.FLongitude);
    ReadValue(children, "coordinate_system", Station.FCoordinateSystem);
    ReadValue(children, "projection_system", Station.FProjectionSystem);
    ReadValue(children, "altitude", Station.FAltitude);
    ReadValue(children, "remarks", Station.FRemarks);
}

// The commonest element of a file, read in one pass over its few children:
// the monthly items on the way, the first of each other part noted and read
// after them, in the writer's order.
void ReadEntityData(const TXMLEntityDataWQ& Element, TEntityData& Values)
{
    const std::span<double> all(Values);
    TXMLNode annual;
    TXMLNode firstSeasonal;
    TXMLNode ltaa;
    for (TXMLNode child = Element.FirstChild(); !child.IsNull(); child = child.NextSibling()) {
        if (child.HasName("monthly_data"))
            ReadIndexedItem(TXMLArrayOfDoublePosZero(child), "monthly_data", all.first(12));
        else if (annual.IsNull() && child.HasName("annual_data"))
            annual = child;
        else if (firstSeasonal.IsNull() && child.HasName("seasonal"))
            firstSeasonal = child;
        else if (ltaa.IsNull() && child.HasName("LTAA"))
            ltaa = child;
    }
    ReadValue(annual, "annual_data", Values[AnnualIndex]);
    ReadIndexedItems(firstSeasonal, "seasonal", all.subspan(WetSeasonIndex, 2));
    ReadValue(ltaa, "LTAA", Values[LTAAIndex]);
}

void ReadWaterUseData1(const TXMLOzr_water_use_data1& Element, TWaterUseData1& Table)
{
    ReadQuantitiesInOrder(Element, WaterUseData1Sectors, std::span(Table));
}

void ReadWaterUseData2(const TXMLOzr_water_use_data2& Element, TWaterUseData2& Table)
{
    ReadQuantitiesInOrder(Element, WaterUseData2Sectors, std::span(Table));
}

void ReadLargeItem(const TXMLOzr_wu_large_items& Element, ozr_wu_large_item& Item)
{
    const TXMLChildIndex children(Element);
    ReadValue(children, "wu_item_name", Item.ItemName);
    if (const TXMLNode itemClass = children.Find("wu_item_class"); itemClass.HasChildNodes())
        Item.ItemClass = TextToInteger(itemClass.TextView(), "wu_item_class");
    ReadQuantity(children, "wu_item_water_use", Item.WaterUse);
}
