#include "xml/xml_document.h"

#include <filesystem>
#include <string>

#include <gtest/gtest.h>

#include "tests/xml/xml_test_file.h"
#include "xml/xml_error.h"

namespace {

namespace fs = std::filesystem;

std::string MessageOfLoading(const std::string& content)
{
    TTestFile file(content);
    try {
        TXMLDocument::LoadFromFile(file.Path());
    } catch (const EXMLDocError& error) {
        return error.what();
    }
    return "";
}

TEST(XmlDocumentSave, WritesByteOrderMarkDeclarationAndOneIndentedElementPerLine)
{
    TXMLDocument document;
    TXMLNode root = document.AddRoot("ozr_wq");
    root.SetAttribute("Country", "GR");
    root.SetAttribute("Remarks", "");
    root.SetText("Data for: Greece");
    root.AddChild("DecimalSeparator").SetText(".");
    TXMLNode region = root.AddChild("region");
    region.SetAttribute("code", "GR1");
    TXMLNode quantity = region.AddChild("flow").AddChild("monthly_data");
    quantity.AddChild("indx").SetText("3");
    quantity.AddChild("value").SetText("12.5");
    region.AddChild("id");

    EXPECT_EQ(document.SaveToString(),
              "\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n"
              "<ozr_wq Country=\"GR\" Remarks=\"\">Data for: Greece\r\n"
              "  <DecimalSeparator>.</DecimalSeparator>\r\n"
              "  <region code=\"GR1\">\r\n"
              "    <flow>\r\n"
              "      <monthly_data>\r\n"
              "        <indx>3</indx>\r\n"
              "        <value>12.5</value>\r\n"
              "      </monthly_data>\r\n"
              "    </flow>\r\n"
              "    <id/>\r\n"
              "  </region>\r\n"
              "</ozr_wq>\r\n");
}

TEST(XmlDocumentSave, EscapedTextsAndAttributesComeBackUnchanged)
{
    const std::string awkward = " a < b & c > \"d\" 'e'\r\n\tf  ";
    TXMLDocument document;
    TXMLNode root = document.AddRoot("root");
    root.SetAttribute("attr", awkward);
    root.AddChild("text").SetText(awkward);
    root.AddChild("blanks").SetText("   ");
    root.AddChild("utf8").SetText("Ελλάδα");
    const std::string saved = document.SaveToString();
    EXPECT_EQ(saved.find("\n\t"), std::string::npos) << "a line break inside a value";

    TTestFile file(saved);
    const TXMLDocument loaded = TXMLDocument::LoadFromFile(file.Path());
    const TXMLNode loadedRoot = loaded.DocumentElement();
    EXPECT_EQ(loadedRoot.Attribute("attr"), awkward);
    EXPECT_EQ(loadedRoot.ChildNode("text").Text(), awkward);
    EXPECT_EQ(loadedRoot.ChildNode("blanks").Text(), "   ");
    EXPECT_EQ(loadedRoot.ChildNode("utf8").Text(), "Ελλάδα");
}

TEST(XmlDocumentSave, AnEmptyDocumentIsTheDeclarationAlone)
{
    TXMLDocument document;
    EXPECT_EQ(document.SaveToString(),
              "\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n");
    document.AddRoot("a");
    EXPECT_THROW(document.AddRoot("b"), EXMLDocError);
}

TEST(XmlNodeRead, AbsentNodesReadAsEmptyOnes)
{
    TTestFile file(
        "<root a=\"1\"><full>x</full><empty/><blank></blank><nested><c/></nested>"
        "<item>1</item><other/><item>2</item></root>");
    const TXMLDocument document = TXMLDocument::LoadFromFile(file.Path());
    const TXMLNode root = document.DocumentElement();

    EXPECT_EQ(root.NodeName(), "root");
    EXPECT_EQ(root.Attribute("a"), "1");
    EXPECT_EQ(root.Attribute("missing"), "");
    EXPECT_TRUE(root.ChildNode("full").HasChildNodes());
    EXPECT_EQ(root.ChildNode("full").NodeValue(), "x");
    for (const char* name : {"empty", "blank", "missing"}) {
        const TXMLNode node = root.ChildNode(name);
        EXPECT_FALSE(node.HasChildNodes()) << name;
        EXPECT_EQ(node.Text(), "") << name;
        EXPECT_FALSE(node.NodeValue().has_value()) << name;
        EXPECT_TRUE(node.ChildElements("item").empty()) << name;
    }
    EXPECT_TRUE(root.ChildNode("missing").ChildNode("deeper").IsNull());

    const auto items = root.ChildElements("item");
    ASSERT_EQ(items.size(), 2u);
    EXPECT_EQ(items[0].Text(), "1");
    EXPECT_EQ(items[1].Text(), "2");

    EXPECT_TRUE(root.ChildNode("nested").HasChildNodes());
    EXPECT_THROW(root.ChildNode("nested").Text(), EXMLDocError);
    try {
        root.Text();
    } catch (const EXMLDocError& error) {
        EXPECT_STREQ(error.what(), "Element does not contain a single text node");
    }
}

TEST(XmlDocumentLoad, FailuresNameTheFileAndThePlace)
{
    const std::string missing = (fs::temp_directory_path() / "no_such_dir" / "x.xml").string();
    try {
        TXMLDocument::LoadFromFile(missing);
        FAIL() << "a missing file loaded";
    } catch (const EXMLDocError& error) {
        EXPECT_NE(std::string(error.what()).find("\"" + missing + "\""), std::string::npos);
        EXPECT_NE(std::string(error.what()).find("No such file"), std::string::npos);
    }
    try {
        TXMLDocument::LoadFromFile(fs::temp_directory_path().string());
        FAIL() << "a folder loaded";
    } catch (const EXMLDocError& error) {
        EXPECT_NE(std::string(error.what()).find(fs::temp_directory_path().string()),
                  std::string::npos);
    }

    EXPECT_NE(MessageOfLoading("<root>\r\n  <a>\r\n  </b>\r\n</root>").find("(line 3, column 5)"),
              std::string::npos);
    EXPECT_NE(MessageOfLoading("\xEF\xBB\xBF<r>\n<a x=></a></r>").find("(line 2, column 6)"),
              std::string::npos);
    EXPECT_NE(MessageOfLoading("<r/>\n<s/>").find("More than one document element (line 2"),
              std::string::npos);
    EXPECT_NE(MessageOfLoading("<r>\n<ü>").find("line 2"), std::string::npos);
    EXPECT_NE(MessageOfLoading("").find("holds no XML document element"), std::string::npos);
    EXPECT_NE(MessageOfLoading("  \r\n").find("holds no XML document element"), std::string::npos);
}

// The parser's own fault is reported when it comes first; a file in another
// encoding is converted, not checked.
TEST(XmlDocumentLoad, BytesThatAreNotUtf8AreNotWellFormed)
{
    EXPECT_NE(MessageOfLoading("<r>\n<a>\xCE\x9A\xFF</a></r>")
                  .find("not well-formed XML: Invalid UTF-8 byte sequence (line 2, column 5)"),
              std::string::npos);
    EXPECT_NE(MessageOfLoading("<r>\n<a></b>\xFF</r>").find("mismatch (line 2, column 6)"),
              std::string::npos);
    TTestFile latin1("<?xml version='1.0' encoding='ISO-8859-1'?><r>K\xF6ln</r>");
    EXPECT_EQ(TXMLDocument::LoadFromFile(latin1.Path()).DocumentElement().Text(), "K\xC3\xB6ln");
}

}  // namespace
