// Download in the settings window: the real wget fetches the directory through a proxy (the
// loopback server), so the command line is the one a box runs. A failed or wrong download
// leaves the old station file as it was.
#include <gmock/gmock.h>

#include <dirent.h>
#include <sys/stat.h>

#include "radio.h"
#include "settings_fixture.h"

using testing::ElementsAre;
using testing::HasSubstr;
using namespace testing_support;

namespace
{

const std::string oldStations = "<?xml version=\"1.0\"?>\n<!-- the user's own list -->\n"
                                "<stations>\n"
                                "  <station name=\"Alpha\" url=\"http://a.example/a.pls\"/>\n"
                                "  <station name=\"Beta\" url=\"http://b.example/b.pls\"/>\n"
                                "</stations>\n";

// A directory in the shape the directory service sends: entries in a playlist.
const std::string freshDirectory =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<WinampXML><playlist num_entries=\"2\">"
    "<entry Playstring=\"http://d.example/1.pls\"><Name>Fresh One</Name></entry>"
    "<entry Playstring=\"http://d.example/2.pls\"><Name>Fresh Two</Name></entry>"
    "</playlist></WinampXML>\n";

const char *const directoryAddress =
    "http://www.shoutcast.com/sbin/xmllister.phtml?service=quenlora&no_compress=1&limit=";

// Settings, Download, Yes, then the keys given for after the download.
std::vector<std::string> downloadThen(const std::vector<std::string> &after)
{
    std::vector<std::string> keys = {"yellow", "yellow", "green"};
    keys.insert(keys.end(), after.begin(), after.end());
    return keys;
}

class DownloadTest : public SettingsTest
{
protected:
    DownloadTest() : server(served.path())
    {
        useProxy(server.url(""));
        writeStations(oldStations);
    }
    ~DownloadTest() override { unsetenv("http_proxy"); }

    static void useProxy(const std::string &address) { setenv("http_proxy", address.c_str(), 1); }
    // What the directory server answers: its body, and its setting (see the server's notes).
    void serve(const std::string &body, const std::string &setting = "{}")
    {
        served.write("directory.xml", body);
        served.write("directory.json", setting);
    }
    std::string stationFile() const { return readFile(box.file("var/etc/stations.xml")); }
    // The files in the station file's folder.
    std::vector<std::string> filesBeside() const
    {
        std::vector<std::string> names;
        DIR *folder = opendir(box.file("var/etc").c_str());
        while (dirent *entry = readdir(folder))
            if (entry->d_name[0] != '.')
                names.push_back(entry->d_name);
        closedir(folder);
        std::sort(names.begin(), names.end());
        return names;
    }
    // The addresses asked of the directory server.
    std::vector<std::string> askedFor() const
    {
        std::vector<std::string> targets;
        for (const auto &request : server.requests()) {
            const auto at = request.find("\"target\": \"");
            const auto start = at + 11;
            targets.push_back(request.substr(start, request.find('"', start) - start));
        }
        return targets;
    }
    std::vector<std::string> boxTitles() const
    {
        std::vector<std::string> titles;
        for (const auto &run : driver.modalRuns())
            titles.push_back(run.title);
        return titles;
    }
    const gui::TestDriver::ModalRun *runTitled(const std::string &title) const
    {
        for (const auto &run : driver.modalRuns())
            if (run.title == title)
                return &run;
        return nullptr;
    }

    TempDir served;
    RadioServer server;
};

TEST_F(DownloadTest, SuccessReplacesTheFileAndTheListChangesOnceTheWindowCloses)
{
    serve(freshDirectory);
    chmod(box.file("var/etc/stations.xml").c_str(), 0640);
    makeDialog();
    std::vector<std::string> rowsBeforeClosing;
    std::string fileBeforeClosing;
    LoopProbe probe([&] {
        const auto texts = settingsStatusTexts();
        if (texts.empty() || texts.back() != "Download complete...")
            return false;
        rowsBeforeClosing = rowTexts();
        fileBeforeClosing = stationFile();
        driver.press({"green", "exit"});
        return true;
    });
    runMainWindow(downloadThen({}));

    EXPECT_THAT(settingsStatusTexts(), ElementsAre("Downloading XML...", "Download complete..."));
    EXPECT_THAT(boxTitles(), ElementsAre("Quenlora v1.0...", "Settings...", "Replace"));
    ASSERT_NE(runTitled("Replace"), nullptr);
    EXPECT_EQ(runTitled("Replace")->message, "Do you want to replace /var/etc/stations.xml?");
    EXPECT_EQ(runTitled("Replace")->flags, 76);
    EXPECT_THAT(askedFor(), ElementsAre(std::string(directoryAddress) + "100"));
    EXPECT_THAT(server.requests().at(0), HasSubstr("\"Host\": \"www.shoutcast.com\""));

    EXPECT_THAT(rowsBeforeClosing, ElementsAre("Alpha", "Beta"));
    EXPECT_EQ(fileBeforeClosing, freshDirectory);
    EXPECT_THAT(rowTexts(), ElementsAre("Fresh One", "Fresh Two"));
    EXPECT_THAT(rowKeys(), ElementsAre("http://d.example/1.pls", "http://d.example/2.pls"));
    EXPECT_THAT(filesBeside(), ElementsAre("quenlora.conf", "stations.xml"));
    struct stat st;
    ASSERT_EQ(stat(box.file("var/etc/stations.xml").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u) << "the new file keeps the old one's permissions";
}

TEST_F(DownloadTest, WithoutAStationFileTheDownloadMakesOne)
{
    unlink(box.file("var/etc/stations.xml").c_str());
    serve("<stations><station name=\"Only\" url=\"http://o.example/\"/></stations>");
    makeDialog({"ok"}); // the missing file's box
    runMainWindow(downloadThen({"green", "exit"}));
    EXPECT_THAT(settingsStatusTexts(), ElementsAre("Downloading XML...", "Download complete..."));
    EXPECT_THAT(rowTexts(), ElementsAre("Only"));
    struct stat st;
    ASSERT_EQ(stat(box.file("var/etc/stations.xml").c_str(), &st), 0);
    const mode_t mask = umask(0);
    umask(mask);
    EXPECT_EQ(st.st_mode & 0777, 0666u & ~mask);
}

TEST_F(DownloadTest, AStationFileThatIsALinkStaysALinkToTheNewList)
{
    const std::string own = box.write("mine/stations.xml", oldStations);
    const std::string link = box.file("var/etc/stations.xml");
    unlink(link.c_str());
    ASSERT_EQ(symlink(own.c_str(), link.c_str()), 0);
    serve(freshDirectory);
    runMainWindow(downloadThen({"green", "exit"}));
    EXPECT_THAT(settingsStatusTexts(), ElementsAre("Downloading XML...", "Download complete..."));
    struct stat st;
    ASSERT_EQ(lstat(link.c_str(), &st), 0);
    EXPECT_TRUE(S_ISLNK(st.st_mode));
    EXPECT_EQ(readFile(own), freshDirectory);
    EXPECT_THAT(rowTexts(), ElementsAre("Fresh One", "Fresh Two"));
}

class DeclineTest : public DownloadTest, public testing::WithParamInterface<const char *>
{
};

TEST_P(DeclineTest, LeavesEverythingAsItWas)
{
    serve(freshDirectory);
    runMainWindow({"yellow", "yellow", GetParam(), "exit", "exit"});
    EXPECT_THAT(boxTitles(), ElementsAre("Quenlora v1.0...", "Settings...", "Replace"));
    EXPECT_TRUE(settingsStatusTexts().empty());
    EXPECT_TRUE(server.requests().empty());
    EXPECT_EQ(stationFile(), oldStations);
    EXPECT_THAT(rowTexts(), ElementsAre("Alpha", "Beta"));
    EXPECT_THAT(filesBeside(), ElementsAre("stations.xml"));
}

INSTANTIATE_TEST_SUITE_P(Answers, DeclineTest, testing::Values("red", "exit"));

struct Limit {
    const char *name;
    std::vector<std::string> typed; // into the limit field, which has the focus
    const char *sent;
};

void PrintTo(const Limit &value, std::ostream *out)
{
    *out << value.name;
}

class LimitTest : public DownloadTest, public testing::WithParamInterface<Limit>
{
};

TEST_P(LimitTest, TheLimitTypedBeforeDownloadIsSent)
{
    serve(freshDirectory);
    std::vector<std::string> keys = {"yellow"};
    keys.insert(keys.end(), GetParam().typed.begin(), GetParam().typed.end());
    keys.insert(keys.end(), {"yellow", "green", "green", "exit"});
    runMainWindow(keys);
    EXPECT_THAT(askedFor(), ElementsAre(std::string(directoryAddress) + GetParam().sent));
}

INSTANTIATE_TEST_SUITE_P(Limits, LimitTest,
                         testing::Values(Limit{"untouched", {}, "100"},
                                         Limit{"three_digits", {"2", "5", "0"}, "250"},
                                         Limit{"one_digit", {"7"}, "7"},
                                         Limit{"above_the_maximum", {"9", "9", "9"}, "300"}),
                         [](const auto &info) { return std::string(info.param.name); });

struct Failure {
    const char *name;
    std::string body;
    std::string setting;
    bool refused = false; // the proxy's port takes no connection
};

void PrintTo(const Failure &value, std::ostream *out)
{
    *out << value.name;
}

class FailureTest : public DownloadTest, public testing::WithParamInterface<Failure>
{
};

TEST_P(FailureTest, KeepsTheOldFileAndSaysDownloadFailed)
{
    const Failure &f = GetParam();
    serve(f.body, f.setting);
    if (f.refused)
        useProxy("http://127.0.0.1:1/");
    runMainWindow(downloadThen({"ok", "green", "exit"}));

    EXPECT_THAT(settingsStatusTexts(), ElementsAre("Downloading XML...", "Download failed..."));
    EXPECT_THAT(boxTitles(), ElementsAre("Quenlora v1.0...", "Settings...", "Replace", "Error!"));
    ASSERT_NE(runTitled("Error!"), nullptr);
    EXPECT_EQ(runTitled("Error!")->message, "Download failed...");
    EXPECT_EQ(runTitled("Error!")->flags, 129);
    EXPECT_EQ(stationFile(), oldStations) << "the old file is byte for byte as it was";
    EXPECT_THAT(filesBeside(), ElementsAre("quenlora.conf", "stations.xml"));
    EXPECT_THAT(rowTexts(), ElementsAre("Alpha", "Beta"));
    EXPECT_FALSE(driver.keysPending());
}

const std::string htmlPage = "<!DOCTYPE html>\n<html><head><title>Directory</title></head>"
                             "<body><p>The directory has moved.</p></body></html>\n";

INSTANTIATE_TEST_SUITE_P(
    Answers, FailureTest,
    testing::Values(
        Failure{"server_error", htmlPage, "{\"code\": 500}"},
        Failure{"not_found", htmlPage, "{\"code\": 404}"}, Failure{"refused", "", "{}", true},
        Failure{"well_formed_html", htmlPage, "{}"},
        Failure{"broken_html", "<html><body><p>Service unavailable<br></body></html>\n", "{}"},
        Failure{"empty_answer", "", "{}"}, Failure{"no_station", "<stations></stations>", "{}"},
        Failure{"empty_playlist", "<WinampXML><playlist num_entries=\"0\"/></WinampXML>", "{}"},
        Failure{"stations_without_addresses",
                "<stations><station name=\"A\"/><station name=\"B\" url=\"\"/>"
                "<playlist><entry><Name>C</Name></entry></playlist></stations>",
                "{}"},
        Failure{"cut_in_the_middle", freshDirectory.substr(0, 120), "{}"},
        Failure{"stations_elsewhere",
                "<list><group><station name=\"Deep\" url=\"http://x.example/\"/></group></list>",
                "{}"}),
    [](const auto &info) { return std::string(info.param.name); });

TEST_F(DownloadTest, AStalledServerIsGivenUpAndTheOldFileKept)
{
    allowModalRunsFor(90000);
    serve(freshDirectory, "{\"stall\": true}");
    const auto start = std::chrono::steady_clock::now();
    runMainWindow(downloadThen({"ok", "green", "exit"}));
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(70));
    EXPECT_THAT(settingsStatusTexts(), ElementsAre("Downloading XML...", "Download failed..."));
    EXPECT_EQ(stationFile(), oldStations);
    EXPECT_THAT(filesBeside(), ElementsAre("quenlora.conf", "stations.xml"));
}

TEST_F(DownloadTest, ADirectoryOver16MegabytesIsRefused)
{
    std::string huge = "<stations>";
    const std::string row = "<station name=\"Filler station with a long name\" "
                            "url=\"http://filler.example/a/long/playlist/address.pls\"/>\n";
    while (huge.size() < 17u << 20)
        huge += row;
    serve(huge + "</stations>");
    runMainWindow(downloadThen({"ok", "green", "exit"}));
    EXPECT_THAT(settingsStatusTexts(), ElementsAre("Downloading XML...", "Download failed..."));
    EXPECT_EQ(stationFile(), oldStations);
    EXPECT_THAT(filesBeside(), ElementsAre("quenlora.conf", "stations.xml"));
}

} // namespace
