// Text for the screen, eString's formatting and the box paths.
#include <gtest/gtest.h>

#include <cerrno>

#include "boxpath.h"
#include "boxpaths.h"
#include "edebug.h"
#include "estring.h"
#include "test_support.h"
#include "text.h"

namespace
{

TEST(DisplayText, Utf8StaysLatin1IsConvertedControlsAreReplaced)
{
    struct Case {
        std::string bytes;
        std::wstring shown;
    } cases[] = {
        {"plain", L"plain"},
        {"Caf\xc3\xa9 \xe2\x82\xac", L"Caf\u00e9 \u20ac"}, // UTF-8
        {"Caf\xe9 M\xfcller", L"Caf\u00e9 M\u00fcller"},   // Latin-1
        {"\xc3\xa9 and \xe9", L"\u00c3\u00a9 and \u00e9"}, // mixed: not UTF-8, so Latin-1
        {"a\x1b[2Jb", L"a\ufffd[2Jb"},                     // ESC never reaches the terminal
        {"tab\there\rcr", L"tab\ufffdhere\ufffdcr"},
        {"del\x7f", L"del\ufffd"},
        {"c1\xc2\x9b", L"c1\ufffd"},               // C1 CSI in UTF-8
        {"c1\x9b", L"c1\ufffd"},                   // C1 CSI in Latin-1
        {"over\xc0\xafng", L"over\u00c0\u00afng"}, // overlong: not UTF-8
        {"two\nlines", L"two\nlines"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(render::displayText(c.bytes), c.shown) << c.bytes;
}

TEST(EString, SprintfFormatsAndIsBounded)
{
    eString text;
    EXPECT_EQ(text.sprintf("XML parse error: %s at line %d", "junk", 3),
              "XML parse error: junk at line 3");
    const std::string huge(eString::maxFormatted * 2, 'x');
    EXPECT_EQ(text.sprintf("%s", huge.c_str()).size(), eString::maxFormatted);
    const char withZero[] = "abc\0def";
    EXPECT_EQ(text.sprintf("%s", eString(withZero, sizeof withZero - 1).c_str()), "abc");
}

TEST(Log, PercentMGivesTheCallersErrno)
{
    testing_support::LogCapture log;
    errno = ENOENT;
    eDebug("open failed (%m)");
    EXPECT_EQ(errno, ENOENT);
    ASSERT_EQ(log.lines().size(), 1u);
    EXPECT_EQ(log.lines()[0], "open failed (No such file or directory)");
}

TEST(BoxPath, MapsUnderTheRootButTheDeviceGoesWhereItWasToldTo)
{
    EXPECT_EQ(boxPath("/var/etc/stations.xml"), "/var/etc/stations.xml");
    EXPECT_EQ(boxPath("/dev/sound/dsp"), "/dev/sound/dsp");
    boxpaths::setRoot("/home/u/box/");
    boxpaths::setAudioDevice("/tmp/pcm");
    EXPECT_EQ(boxPath("/var/etc/stations.xml"), "/home/u/box/var/etc/stations.xml");
    EXPECT_EQ(boxPath("/tmp/qnlora.tmp"), "/home/u/box/tmp/qnlora.tmp");
    EXPECT_EQ(boxPath("/dev/sound/dsp"), "/tmp/pcm");
    EXPECT_EQ(boxPath("relative"), "relative");
    boxpaths::setRoot("");
    boxpaths::setAudioDevice("");
    EXPECT_EQ(boxPath("/dev/sound/dsp"), "/dev/sound/dsp");
}

} // namespace
