#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "xml/xml_document.h"
#include "xml/xml_element_writer.h"
#include "xml/xml_error.h"

namespace {

constexpr const char* kPrologue = "\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n";

std::string Written(const std::function<void(TXMLElementWriter&)>& write)
{
    TXMLElementWriter out;
    write(out);
    out.Finish();
    return out.TakeText();
}

// The same document written element by element and built as a tree must give
// the same bytes: both follow one layout.
TEST(XmlElementWriter, WritesWhatTheSerialisedTreeWrites)
{
    const std::string awkward = " a < b & c > \"d\"\r\n\tf ";
    TXMLDocument document;
    TXMLNode root = document.AddRoot("root");
    root.SetAttribute("attr", awkward);
    root.SetAttribute("empty", "");
    root.SetText("own text");
    root.AddChild("text").SetText(awkward);
    root.AddChild("nothing");
    TXMLNode nested = root.AddChild("nested");
    nested.SetAttribute("n", "1");
    nested.AddChild("deeper").AddChild("leaf").SetText("x");
    nested.AddChild("blank").SetText("");

    const std::string streamed = Written([&](TXMLElementWriter& out) {
        out.StartElement("root");
        out.Attribute("attr", awkward);
        out.Attribute("empty", "");
        out.Text("own text");
        out.TextElement("text", awkward);
        out.StartElement("nothing");
        out.EndElement();
        out.StartElement("nested");
        out.Attribute("n", "1");
        out.StartElement("deeper");
        out.TextElement("leaf", "x");
        out.EndElement();
        out.TextElement("blank", "");
        out.EndElement();
        out.EndElement();
    });
    EXPECT_EQ(streamed, document.SaveToString());
    EXPECT_EQ(streamed, std::string(kPrologue) +
                            "<root attr=\" a &lt; b &amp; c &gt; &quot;d&quot;&#13;&#10;&#9;f \" "
                            "empty=\"\">own text\r\n"
                            "  <text> a &lt; b &amp; c &gt; \"d\"&#13;&#10;\tf </text>\r\n"
                            "  <nothing/>\r\n"
                            "  <nested n=\"1\">\r\n"
                            "    <deeper>\r\n"
                            "      <leaf>x</leaf>\r\n"
                            "    </deeper>\r\n"
                            "    <blank/>\r\n"
                            "  </nested>\r\n"
                            "</root>\r\n");
}

// XML cannot hold a NUL byte even as a reference: it is written as U+FFFD,
// which a tree holds in its place, and the rest of the value stays.
TEST(XmlElementWriter, ANulByteIsReplacedAsInTheTree)
{
    const std::string cut("ab\0cd", 5);
    const std::string nothingLeft("\0cd", 3);
    TXMLDocument document;
    TXMLNode root = document.AddRoot("r");
    root.SetAttribute("a", cut);
    root.AddChild("t").SetText(cut);
    root.AddChild("u").SetText(nothingLeft);
    const std::string streamed = Written([&](TXMLElementWriter& out) {
        out.StartElement("r");
        out.Attribute("a", cut);
        out.TextElement("t", cut);
        out.TextElement("u", nothingLeft);
        out.EndElement();
    });
    EXPECT_EQ(streamed, document.SaveToString());
    EXPECT_EQ(streamed, std::string(kPrologue) +
                            "<r a=\"ab\uFFFDcd\">\r\n  <t>ab\uFFFDcd</t>\r\n  <u>\uFFFDcd</u>\r\n"
                            "</r>\r\n");
}

TEST(XmlElementWriter, TextAfterChildrenStandsOnALineOfItsOwn)
{
    EXPECT_EQ(Written([](TXMLElementWriter& out) {
                  out.StartElement("a");
                  out.Text("first");
                  out.Text(" and more");
                  out.TextElement("b", "1");
                  out.Text("after");
                  out.EndElement();
              }),
              std::string(kPrologue) + "<a>first and more\r\n  <b>1</b>\r\n  after\r\n</a>\r\n");
    EXPECT_EQ(Written([](TXMLElementWriter&) {}), kPrologue);
}

TEST(XmlElementWriter, MisuseIsRefused)
{
    TXMLElementWriter out;
    EXPECT_THROW(out.EndElement(), EXMLDocError);
    EXPECT_THROW(out.Text("loose"), EXMLDocError);
    EXPECT_THROW(out.Attribute("a", "1"), EXMLDocError);
    out.StartElement("root");
    out.Text("t");
    EXPECT_THROW(out.Attribute("late", "1"), EXMLDocError);
    out.StartElement("open");
    try {
        out.Finish();
        FAIL() << "an open element was finished";
    } catch (const EXMLDocError& error) {
        EXPECT_STREQ(error.what(), "The element \"open\" was not ended");
    }
    out.EndElement();
    out.EndElement();
    EXPECT_THROW(out.StartElement("second"), EXMLDocError);
    out.Finish();
}

// A large file reaches the sink in bounded pieces while it is written, and
// whole, in order, once finished.
TEST(XmlElementWriter, HandsLargeFilesOverInPiecesWhileWriting)
{
    std::vector<std::size_t> pieces;
    std::string received;
    TXMLElementWriter out([&](std::string_view bytes) {
        pieces.push_back(bytes.size());
        received += bytes;
    });
    TXMLElementWriter whole;
    const std::string text(1000, 'v');
    for (TXMLElementWriter* writer : {&out, &whole}) {
        writer->StartElement("root");
        for (int i = 0; i < 5000; ++i)
            writer->TextElement("item", text + std::to_string(i));
    }
    EXPECT_GE(pieces.size(), 4u) << "nothing was handed over before the end";
    for (std::size_t piece : pieces)
        EXPECT_LE(piece, std::size_t{2} << 20);
    for (TXMLElementWriter* writer : {&out, &whole}) {
        writer->EndElement();
        writer->Finish();
    }
    EXPECT_EQ(received, whole.TakeText());
}

}  // namespace
