// Reading the station directory file: both shapes, every failure, hostile files.
#include <gtest/gtest.h>

#include "dialog_fixture.h"

using testing_support::LogCapture;

namespace
{

using Rows = std::vector<std::string>;

TEST_F(DialogTest, BothShapesListTheirStationsInFileOrder)
{
    struct Case {
        const char *what;
        std::string xml;
        Rows names;
        Rows keys;
    } cases[] = {
        {"plain shape",
         "<stations><station name=\"A\" url=\"http://a/1.pls\"/>"
         "<station name=\"B\" url=\"http://b/2.pls?x=1&amp;y=2\"/></stations>",
         {"A", "B"},
         {"http://a/1.pls", "http://b/2.pls?x=1&y=2"}},
        {"directory shape",
         "<WinampXML><playlist num_entries=\"2\">"
         "<entry Playstring=\"http://d/1.pls\"><Name>One</Name><Genre>Jazz</Genre></entry>"
         "<entry Playstring=\"http://d/2.pls\"><Name>First</Name><Name>Second</Name></entry>"
         "<entry Playstring=\"http://d/3.pls\"/>"
         "<entry><Name>No address</Name></entry>"
         "<other Playstring=\"http://d/x.pls\"><Name>Skipped</Name></other>"
         "</playlist></WinampXML>",
         {"One", "Second", "", "No address"},
         {"http://d/1.pls", "http://d/2.pls", "http://d/3.pls", "(null)"}},
        {"both shapes mixed",
         "<r><station name=\"S1\" url=\"u1\"/><playlist><entry Playstring=\"p1\">"
         "<Name>E1</Name></entry></playlist><station name=\"S2\" url=\"u2\"/></r>",
         {"S1", "E1", "S2"},
         {"u1", "p1", "u2"}},
        {"missing attributes",
         "<r><station url=\"only-url\"/><station name=\"only-name\"/></r>",
         {"", "only-name"},
         {"only-url", "(null)"}},
        {"names in another letter case and misplaced elements are ignored",
         "<r><Station name=\"X\" url=\"x\"/><station NAME=\"Y\" URL=\"y\"/>"
         "<entry Playstring=\"e\"><Name>under root</Name></entry>"
         "<playlist><station name=\"in playlist\" url=\"p\"/>"
         "<entry playstring=\"lower\"><name>lower</name></entry></playlist></r>",
         {"", ""},
         {"(null)", "(null)"}},
        {"a root without stations empties the chooser", "<empty><nothing/></empty>", {}, {}},
        {"duplicates stay",
         "<r><station name=\"D\" url=\"d\"/><station name=\"D\" url=\"d\"/></r>",
         {"D", "D"},
         {"d", "d"}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        writeStations(c.xml);
        makeDialog();
        EXPECT_EQ(rowTexts(), c.names);
        EXPECT_EQ(rowKeys(), c.keys);
        EXPECT_TRUE(driver.modalRuns().empty());
        EXPECT_EQ(statusBar()->getText(), "");
        dialog.reset();
        driver.clearRecords();
    }
}

TEST_F(DialogTest, EveryFailureIsReportedInTheStatusBarAndAnErrorBox)
{
    struct Case {
        const char *what;
        const char *xml; // null: no file at all
        std::string message;
    } cases[] = {
        {"missing file", nullptr, "File /var/etc/stations.xml not found."},
        {"empty file", "", "XML parse error"},
        {"only blanks", "  \n\n", "XML parse error"},
        {"mismatched tag", "<r>\n<station>\n</r>", "XML parse error: mismatched tag at line 3"},
        {"binary junk", "\x01\x02\x03\xff\xfe",
         "XML parse error: not well-formed (invalid token) at line 1"},
        {"text after the root", "<r/><r/>",
         "XML parse error: junk after document element at line 1"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        if (c.xml)
            writeStations(c.xml);
        else
            unlink(box.file("var/etc/stations.xml").c_str());
        makeDialog({"ok"});
        ASSERT_EQ(driver.modalRuns().size(), 1u);
        EXPECT_EQ(driver.modalRuns()[0].title, "Error!");
        EXPECT_EQ(driver.modalRuns()[0].message, c.message);
        EXPECT_EQ(driver.modalRuns()[0].flags, 129);
        EXPECT_EQ(statusBar()->getText(), c.message);
        EXPECT_EQ(chooser()->getCount(), 0);
        EXPECT_EQ(chooser()->getCurrent(), nullptr);
        dialog.reset();
        driver.clearRecords();
    }
}

TEST_F(DialogTest, TruncatedFileKeepsTheStationsBeforeTheCut)
{
    // The text is never marked as the end of the document, so a file cut short is no error.
    writeStations("<stations><station name=\"Whole\" url=\"w\"/><station name=\"Cut\" url=");
    makeDialog();
    EXPECT_EQ(rowTexts(), Rows{"Whole"});
    EXPECT_TRUE(driver.modalRuns().empty());
}

TEST_F(DialogTest, ZeroByteDropsTheRestOfItsPiece)
{
    std::string xml = "<r>\n<station name=\"A\" url=\"a\"/>";
    xml += std::string("<!-- x") + '\0' + "dropped up to the line end -->\n";
    xml += "<station name=\"B\" url=\"b\"/>\n</r>\n";
    writeStations(xml);
    makeDialog();
    // The comment lost its end, so the parser is still inside it when the text ends.
    EXPECT_EQ(rowTexts(), Rows{"A"});
    EXPECT_TRUE(driver.modalRuns().empty());
}

TEST_F(DialogTest, EncodingsDeclaredOrNot)
{
    struct Case {
        const char *what;
        std::string xml;
        std::string name;
    } cases[] = {
        {"UTF-8 with its declaration",
         "<?xml version=\"1.0\" encoding=\"UTF-8\"?><r><station name=\"Caf\xc3\xa9\" "
         "url=\"u\"/></r>",
         "Caf\xc3\xa9"},
        {"Latin-1 without one", "<r><station name=\"Caf\xe9\" url=\"u\"/></r>", "Caf\xc3\xa9"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        writeStations(c.xml);
        makeDialog();
        EXPECT_EQ(rowTexts(), Rows{c.name});
        dialog.reset();
    }
}

TEST_F(DialogTest, HostileFilesEndInAMessageOrAList)
{
    // Entities that expand a billion times are refused by the parser, quickly.
    std::string bomb = "<?xml version=\"1.0\"?><!DOCTYPE r [<!ENTITY a0 \"xxxxxxxxxxxxxxxx\">";
    for (int i = 1; i < 10; ++i) {
        bomb += "<!ENTITY a" + std::to_string(i) + " \"";
        for (int k = 0; k < 10; ++k)
            bomb += "&a" + std::to_string(i - 1) + ";";
        bomb += "\">";
    }
    bomb += "]><r><station name=\"&a9;\" url=\"u\"/></r>";
    writeStations(bomb);
    const auto start = std::chrono::steady_clock::now();
    makeDialog({"ok"});
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
    ASSERT_EQ(driver.modalRuns().size(), 1u);
    EXPECT_EQ(driver.modalRuns()[0].message.rfind("XML parse error: ", 0), 0u);
    dialog.reset();
    driver.clearRecords();

    // Deep nesting: no stack overflow, building or freeing.
    std::string deep = "<r>";
    for (int i = 0; i < 100000; ++i)
        deep += "<n>";
    deep += "<station name=\"deep\" url=\"u\"/>";
    for (int i = 0; i < 100000; ++i)
        deep += "</n>";
    deep += "<station name=\"top\" url=\"t\"/></r>";
    writeStations(deep);
    makeDialog();
    EXPECT_EQ(rowTexts(), Rows{"top"}) << "only the root's children are stations";
    dialog.reset();
}

TEST_F(DialogTest, FiftyMegabyteFileLoadsWhole)
{
    std::string xml = "<stations>\n";
    const std::string line = "<station name=\"Station number %06d with a long name to fill the "
                             "line\" url=\"http://stream.example/%06d.pls\"/>\n";
    int count = 0;
    char buffer[256];
    while (xml.size() < 50u * 1024 * 1024) {
        snprintf(buffer, sizeof buffer, line.c_str(), count, count);
        xml += buffer;
        ++count;
    }
    xml += "</stations>\n";
    writeStations(xml);
    makeDialog();
    ASSERT_EQ(chooser()->getCount(), count);
    EXPECT_EQ(rowKeys().back(),
              "http://stream.example/" +
                  std::string(buffer).substr(std::string(buffer).find("example/") + 8, 6) + ".pls");
}

TEST_F(DialogTest, FailedRereadKeepsTheWorkingListAndItsAddresses)
{
    writeStations("<r><station name=\"Kept\" url=\"http://kept/1.pls\"/></r>");
    QuenloDialog &d = makeDialog();
    for (const char *broken : {"<r><station", "", "\x01junk"}) {
        SCOPED_TRACE(broken);
        writeStations(std::string(broken) + (broken[0] == '<' ? "</x>" : ""));
        driver.press({"ok"});
        d.initialise();
        EXPECT_EQ(rowTexts(), Rows{"Kept"});
        // The rows still point into a live tree: reading them is valid (and checked under ASan).
        EXPECT_EQ(rowKeys(), Rows{"http://kept/1.pls"});
    }
    unlink(box.file("var/etc/stations.xml").c_str());
    driver.press({"ok"});
    d.initialise();
    EXPECT_EQ(rowKeys(), Rows{"http://kept/1.pls"});

    writeStations("<r><station name=\"New\" url=\"http://new/2.pls\"/></r>");
    d.initialise();
    EXPECT_EQ(rowTexts(), Rows{"New"});
    EXPECT_EQ(rowKeys(), Rows{"http://new/2.pls"});
    EXPECT_EQ(chooser()->getCurrentIndex(), 0);
}

} // namespace
