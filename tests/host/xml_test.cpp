// The XML tree parser on expat.
#include <gtest/gtest.h>

#include <string>

#include "xmltree.h"

namespace
{

std::string attribute(XMLTreeNode *node, const char *name)
{
    const char *value = node ? node->GetAttributeValue(name) : nullptr;
    return value ? value : "(null)";
}

TEST(XmlTree, BuildsElementsAttributesAndData)
{
    XMLTreeParser parser("ISO-8859-1");
    const std::string text = "<root a=\"1\"><x b=\"2\">hello</x><y/>tail</root>";
    ASSERT_TRUE(parser.Parse(text.data(), text.size(), 1));
    XMLTreeNode *root = parser.RootNode();
    ASSERT_NE(root, nullptr);
    EXPECT_STREQ(root->GetType(), "root");
    EXPECT_EQ(attribute(root, "a"), "1");
    EXPECT_EQ(attribute(root, "missing"), "(null)");
    EXPECT_STREQ(root->GetData(), "tail");
    XMLTreeNode *x = root->GetChild();
    ASSERT_NE(x, nullptr);
    EXPECT_STREQ(x->GetType(), "x");
    EXPECT_STREQ(x->GetData(), "hello");
    ASSERT_NE(x->GetNext(), nullptr);
    EXPECT_STREQ(x->GetNext()->GetType(), "y");
    EXPECT_STREQ(x->GetNext()->GetData(), "");
    EXPECT_EQ(x->GetNext()->GetNext(), nullptr);
}

TEST(XmlTree, DataArrivingInPiecesIsJoinedPerElement)
{
    const std::string text = "<r><Name>Radio &amp; more \xe9</Name></r>";
    XMLTreeParser parser("ISO-8859-1");
    for (char c : text)
        ASSERT_TRUE(parser.Parse(&c, 1, 0));
    ASSERT_TRUE(parser.Parse("", 0, 1));
    EXPECT_STREQ(parser.RootNode()->GetChild()->GetData(), "Radio & more \xc3\xa9");
}

TEST(XmlTree, TheDocumentsOwnDeclarationWins)
{
    struct Case {
        const char *text;
        const char *expected; // the name, as UTF-8
    } cases[] = {
        {"<r n=\"caf\xe9\"/>", "caf\xc3\xa9"}, // Latin-1
        {"<?xml version=\"1.0\" encoding=\"UTF-8\"?><r n=\"caf\xc3\xa9\"/>", "caf\xc3\xa9"},
        {"\xef\xbb\xbf<r n=\"caf\xc3\xa9\"/>", "caf\xc3\xa9"},        // BOM
        {"<?xml version=\"1.0\"?><r n=\"caf\xe9\"/>", "caf\xc3\xa9"}, // no encoding named
    };
    for (const Case &c : cases) {
        XMLTreeParser parser("ISO-8859-1");
        ASSERT_TRUE(parser.Parse(c.text, strlen(c.text), 0)) << c.text;
        EXPECT_EQ(attribute(parser.RootNode(), "n"), c.expected) << c.text;
    }
}

TEST(XmlTree, AnUnfinishedTextIsNoErrorUntilTheLastPiece)
{
    XMLTreeParser empty("ISO-8859-1");
    EXPECT_TRUE(empty.Parse("", 0, 0));
    EXPECT_EQ(empty.RootNode(), nullptr);

    XMLTreeParser cut("ISO-8859-1");
    const std::string text = "<r><s n=\"a\"/><s n=";
    EXPECT_TRUE(cut.Parse(text.data(), text.size(), 0));
    ASSERT_NE(cut.RootNode(), nullptr);
    EXPECT_EQ(attribute(cut.RootNode()->GetChild(), "n"), "a");
    EXPECT_FALSE(cut.Parse("", 0, 1));
}

TEST(XmlTree, ErrorsCarryExpatsTextAndTheLine)
{
    XMLTreeParser parser("ISO-8859-1");
    const std::string text = "<r>\n<a>\n</b></r>";
    EXPECT_FALSE(parser.Parse(text.data(), text.size(), 0));
    EXPECT_STREQ(XMLTreeParser::ErrorString(parser.GetErrorCode()), "mismatched tag");
    EXPECT_EQ(parser.GetCurrentLineNumber(), 3);
}

TEST(XmlTree, EntityExpansionIsRefused)
{
    std::string text = "<?xml version=\"1.0\"?><!DOCTYPE r [<!ENTITY a \"aaaaaaaaaa\">";
    const char *previous = "a";
    std::string names[] = {"b", "c", "d", "e", "f", "g", "h", "i", "j"};
    for (const std::string &name : names) {
        text += "<!ENTITY " + name + " \"";
        for (int i = 0; i < 10; ++i)
            text += std::string("&") + previous + ";";
        text += "\">";
        previous = name.c_str();
    }
    text += "]><r>&j;</r>";
    XMLTreeParser parser("ISO-8859-1");
    EXPECT_FALSE(parser.Parse(text.data(), text.size(), 0));
}

TEST(XmlTree, DeepNestingIsBuiltAndFreedWithoutRecursion)
{
    const int depth = 200000;
    std::string text;
    for (int i = 0; i < depth; ++i)
        text += "<d>";
    for (int i = 0; i < depth; ++i)
        text += "</d>";
    auto parser = std::make_unique<XMLTreeParser>("ISO-8859-1");
    ASSERT_TRUE(parser->Parse(text.data(), text.size(), 1));
    int levels = 0;
    for (XMLTreeNode *n = parser->RootNode(); n; n = n->GetChild())
        ++levels;
    EXPECT_EQ(levels, depth);
    parser.reset();
}

} // namespace
