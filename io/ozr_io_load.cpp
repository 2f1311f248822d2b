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
    if (!IsPresent(Root, "DecimalSeparator"))
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

void ReadRegion(const TXMLOzr_wq_region& Element, TDataFileStaging& Staging)
{
    const TRegionType type = StrToRegionType(Element.type());
    TRegion* region = nullptr;
    if (!FindRegion(Element.code(), type, region))
        return;
    if (IsPresent(Element, "ozr_water_balance"))
        ReadWaterBalance(Element.ozr_water_balance(), Staging.TablesOf(*region));
    if (IsPresent(Element, "ozr_water_abstraction"))
        ReadWaterAbstraction(Element.ozr_water_abstraction(), Staging.TablesOf(*region));
    if (IsPresent(Element, "ozr_water_use"))
        ReadWaterUse(Element.ozr_water_use(), Staging.TablesOf(*region));
    ReadStations(Element, *region, Staging);
}

void ReadContent(const TXMLOzr_wq& Root, const TSession& Target, TDataFileStaging& Staging)
{
    ReadRootAttributes(Root, Target, Staging.Root);
    const TXMLOzr_wq_regionList regions = Root.region();
    for (int i = 0; i < regions.Count(); ++i)
        ReadRegion(regions.Items(i), Staging);
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

void ReadIndexedItems(const TXMLArrayOfDoublePosZeroList& Items, const char* Tag,
                      std::span<double> Series)
{
    for (int i = 0; i < Items.Count(); ++i) {
        const TXMLArrayOfDoublePosZero item = Items.Items(i);
        const int index = item.indx();
        if (index < 1 || static_cast<std::size_t>(index) > Series.size())
            throw EConvertError("The element \"" + std::string(Tag) + "\" has the index " +
                                IntToStr(index) + ", outside 1 to " + IntToStr(Series.size()));
        Series[static_cast<std::size_t>(index) - 1] = item.value();
    }
}

void ReadEntityAttributes(const TXMLEntityAttributesWQ& Element, TEntity& Station)
{
    using Node = TXMLEntityAttributesWQ;
    Station.SetID(Element.id());
    Station.FName = Element.name();
    ReadValue(Element, "year", &Node::year, Station.FYear);
    ReadValue(Element, "latitude", &Node::latitude, Station.FLatitude);
    ReadValue(Element, "longitude", &Node::longitude, Station.FLongitude);
    ReadValue(Element, "coordinate_system", &Node::coordinate_system, Station.FCoordinateSystem);
    ReadValue(Element, "projection_system", &Node::projection_system, Station.FProjectionSystem);
    ReadValue(Element, "altitude", &Node::altitude, Station.FAltitude);
    ReadValue(Element, "remarks", &Node::remarks, Station.FRemarks);
}

void ReadEntityData(const TXMLEntityDataWQ& Element, TEntityData& Values)
{
    const std::span<double> all(Values);
    ReadIndexedItems(Element.monthly_data(), "monthly_data", all.first(12));
    ReadValue(Element, "annual_data", &TXMLEntityDataWQ::annual_data, Values[AnnualIndex]);
    ReadIndexedItems(Element.seasonal(), "seasonal", all.subspan(WetSeasonIndex, 2));
    ReadValue(Element, "LTAA", &TXMLEntityDataWQ::LTAA, Values[LTAAIndex]);
}

void ReadWaterUseData1(const TXMLOzr_water_use_data1& Element, TWaterUseData1& Table)
{
    using Node = TXMLOzr_water_use_data1;
    static const std::array<TQuantityField<Node>, 16> sectors{{
        {"total", &Node::total},
        {"domestic", &Node::domestic},
        {"nace_a", &Node::nace_a},
        {"nace_a_irrgation", &Node::nace_a_irrgation},
        {"nace_b", &Node::nace_b},
        {"nace_c", &Node::nace_c},
        {"nace_c_food_ind", &Node::nace_c_food_ind},
        {"nace_c_basic_metals", &Node::nace_c_basic_metals},
        {"nace_c_transport", &Node::nace_c_transport},
        {"nace_c_textiles", &Node::nace_c_textiles},
        {"nace_c_cooling", &Node::nace_c_cooling},
        {"nace_d", &Node::nace_d},
        {"nace_d_cooling", &Node::nace_d_cooling},
        {"nace_d_hydropower", &Node::nace_d_hydropower},
        {"nace_i", &Node::nace_i},
        {"other", &Node::other},
    }};
    ReadQuantities(Element, sectors, std::span<TEntityData, 16>(Table));
}

void ReadWaterUseData2(const TXMLOzr_water_use_data2& Element, TWaterUseData2& Table)
{
    using Node = TXMLOzr_water_use_data2;
    static const std::array<TQuantityField<Node>, 11> sectors{{
        {"total", &Node::total},
        {"domestic", &Node::domestic},
        {"nace_a", &Node::nace_a},
        {"nace_a_irrgation", &Node::nace_a_irrgation},
        {"nace_b", &Node::nace_b},
        {"nace_c", &Node::nace_c},
        {"nace_c_cooling", &Node::nace_c_cooling},
        {"nace_d", &Node::nace_d},
        {"nace_d_cooling", &Node::nace_d_cooling},
        {"nace_i", &Node::nace_i},
        {"other", &Node::other},
    }};
    ReadQuantities(Element, sectors, std::span<TEntityData, 11>(Table));
}

void ReadLargeItem(const TXMLOzr_wu_large_items& Element, ozr_wu_large_item& Item)
{
    using Node = TXMLOzr_wu_large_items;
    ReadValue(Element, "wu_item_name", &Node::wu_item_name, Item.ItemName);
    if (IsPresent(Element, "wu_item_class"))
        Item.ItemClass = TextToInteger(Element.wu_item_class(), "wu_item_class");
    ReadQuantity(Element, "wu_item_water_use", &Node::wu_item_water_use, Item.WaterUse);
}
