#include "bench/regions_load/region_tree.h"

#include <fstream>
#include <stdexcept>

namespace {

std::size_t CountNodes(const std::vector<RegionNode>& nodes)
{
    std::size_t count = nodes.size();
    for (const RegionNode& node : nodes) {
        count += CountNodes(node.Children);
    }
    return count;
}

void AppendEscaped(std::string& out, const std::string& text)
{
    for (char c : text) {
        switch (c) {
            case '&': out += "&amp;"; break;
            case '<': out += "&lt;"; break;
            case '>': out += "&gt;"; break;
            default: out += c;
        }
    }
}

void AppendLine(std::string& out, std::size_t depth, const std::string& text)
{
    out.append(2 * depth, ' ');
    out += text;
    out += "\r\n";
}

void AppendTextElement(std::string& out, std::size_t depth, const char* tag,
                       const std::string& text)
{
    out.append(2 * depth, ' ');
    out += '<';
    out += tag;
    out += '>';
    AppendEscaped(out, text);
    out += "</";
    out += tag;
    out += ">\r\n";
}

void AppendNode(std::string& out, std::size_t depth, const RegionNode& node)
{
    AppendLine(out, depth, "<" + node.Tag + ">");
    AppendTextElement(out, depth + 1, "Code", node.Code);
    AppendTextElement(out, depth + 1, "Name", node.Name);
    for (const RegionNode& child : node.Children) {
        AppendNode(out, depth + 1, child);
    }
    AppendLine(out, depth, "</" + node.Tag + ">");
}

}  // namespace

std::size_t CountRegions(const RegionForest& countries)
{
    return CountNodes(countries);
}

void WriteRegionsFile(const RegionForest& countries, const std::string& fileName)
{
    std::string out = "\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n";
    out +=
        "<OZR_WQ_Regions Creator=\"regions_load benchmark\" CreationDate=\"2008-1-1 0:0:0\" "
        "Email=\"\" Remarks=\"\">Regions used in the Tavrel-SoE WQ Data Request Application\r\n";
    for (const RegionNode& country : countries) {
        AppendNode(out, 1, country);
    }
    out += "</OZR_WQ_Regions>\r\n";
    std::ofstream file(fileName, std::ios::binary | std::ios::trunc);
    file.write(out.data(), static_cast<std::streamsize>(out.size()));
    file.close();
    if (!file) {
        throw std::runtime_error("Cannot write " + fileName);
    }
}
