#include <gtest/gtest.h>

#include <chrono>
#include <memory>

#include "ehttpconnection.h"
#include "mainloop.h"
#include "net_settings.h"
#include "radio.h"
#include "test_support.h"

using namespace testing_support;
using namespace std::chrono_literals;

namespace
{
// What one transfer did, in order, kept outside the connection (which deletes itself).
struct Record {
    std::vector<std::string> events;
    std::string body;
    size_t largestPiece = 0;
    int pieces = 0;
    int result = 1;
    bool done = false;
    bool sinkDeleted = false;
    std::map<eString, eString> headersAtSink;
    int statusAtSink = 0;
    std::function<void(int)> onData; // called with each delivery
};

class RecordingSink : public eHTTPDataSource
{
public:
    RecordingSink(eHTTPConnection *c, Record &r) : eHTTPDataSource(c), record(r) {}
    ~RecordingSink() override
    {
        record.sinkDeleted = true;
        record.events.push_back("sink deleted");
    }
    void haveData(void *data, int length) override
    {
        if (record.pieces++ == 0)
            record.events.push_back("data");
        record.body.append(static_cast<char *>(data), length);
        record.largestPiece = std::max(record.largestPiece, static_cast<size_t>(length));
        if (record.onData)
            record.onData(length);
    }

private:
    Record &record;
};

class HttpTest : public ::testing::Test
{
protected:
    HttpTest() : saved(net::settings()) {}
    ~HttpTest() override { net::settings() = saved; }

    // A started request for url whose events go to record; null when refused at once.
    eHTTPConnection *request(const std::string &url, Record &record, int *error = nullptr)
    {
        int code = 0;
        eHTTPConnection *c = eHTTPConnection::doRequest(url.c_str(), eApp, &code);
        if (error)
            *error = code;
        if (!c)
            return nullptr;
        c->createDataSink.connect([this, &record](eHTTPConnection *conn) -> eHTTPDataSource * {
            record.events.push_back("sink");
            record.headersAtSink = conn->responseHeaders;
            record.statusAtSink = conn->statusCode;
            lastSink = new RecordingSink(conn, record);
            return lastSink;
        });
        c->transferDone.connect([&record](int result) {
            record.events.push_back("done");
            record.result = result;
            record.done = true;
        });
        c->requestHeaders["User-Agent"] = "Quenlora-mp3/1.0.0";
        c->requestHeaders["Icy-MetaData"] = "1";
        c->start();
        return c;
    }
    // Turns the loop until the transfer has ended and the connection has gone.
    bool finish(Record &record, std::chrono::milliseconds limit = 10s)
    {
        const bool done = eApp->runUntil([&] { return record.done; }, limit);
        eApp->runUntil([&] { return !lastSink || record.sinkDeleted; }, 1s);
        return done;
    }

    net::Settings saved;
    RadioServer server;
    RecordingSink *lastSink = nullptr;
};

TEST_F(HttpTest, AStreamArrivesWholeInOrderAfterItsSinkAndTheConnectionGoesWithItsSink)
{
    const std::string mp3 = makeMp3({});
    Record record;
    request(server.url("stream?mp3=" + mp3 + "&metaint=1000&name=Loop%20FM&genre=Jazz"), record);
    ASSERT_TRUE(finish(record));
    EXPECT_EQ(record.result, 0);
    EXPECT_EQ(record.events, (std::vector<std::string>{"sink", "data", "done", "sink deleted"}));
    EXPECT_EQ(record.statusAtSink, 200); // "ICY 200 OK"
    EXPECT_EQ(record.headersAtSink["icy-name"], "Loop FM");
    EXPECT_EQ(record.headersAtSink["icy-genre"], "Jazz");
    EXPECT_EQ(record.headersAtSink["icy-metaint"], "1000");
    EXPECT_LE(record.largestPiece, 16384u);
    // The body is the file with a zero length byte after every 1000 bytes.
    const std::string file = readFile(mp3);
    std::string framed;
    for (size_t at = 0; at < file.size(); at += 1000) {
        framed += file.substr(at, 1000);
        if (at + 1000 <= file.size())
            framed += '\0';
    }
    EXPECT_TRUE(record.body == framed);
    const auto requests = server.requests();
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_NE(requests[0].find("\"User-Agent\": \"Quenlora-mp3/1.0.0\""), std::string::npos);
    EXPECT_NE(requests[0].find("\"Icy-MetaData\": \"1\""), std::string::npos);
}

TEST_F(HttpTest, NothingRunsInsideStartAndRedirectsAreFollowedToTheFinalHeaders)
{
    Record record;
    eHTTPConnection *c = request(server.url("redirect?to=status%3Fcode%3D404"), record);
    ASSERT_NE(c, nullptr);
    EXPECT_TRUE(record.events.empty());
    ASSERT_TRUE(finish(record));
    EXPECT_EQ(record.result, 0);
    EXPECT_EQ(record.statusAtSink, 404);
    EXPECT_EQ(record.body, "status page\n");
    EXPECT_EQ(server.requests().size(), 2u);
}

TEST_F(HttpTest, ReasonTextComesFromTheStatusLine)
{
    Record record;
    eHTTPConnection *c = request(server.url("status?code=500"), record);
    int status = 0;
    std::string reason;
    c->transferDone.connect([&](int) {
        status = c->statusCode;
        reason = c->reasonText;
    });
    ASSERT_TRUE(finish(record));
    EXPECT_EQ(status, 500);
    EXPECT_EQ(reason, "Internal Server Error");
}

struct Failure {
    const char *name;
    std::string address; // a path on the server, or a whole address when whole
    int expected;
    bool atOnce;
    bool whole = false;
};

void PrintTo(const Failure &value, std::ostream *out)
{
    *out << value.name;
}

class HttpFailureTest : public HttpTest, public ::testing::WithParamInterface<Failure>
{
};

TEST_P(HttpFailureTest, EndsWithItsCode)
{
    net::settings().answerMs = 1500;
    net::settings().idleMs = 1500;
    const Failure &f = GetParam();
    const std::string url = f.whole ? f.address : server.url(f.address);
    Record record;
    int error = 0;
    eHTTPConnection *c = request(url, record, &error);
    if (f.atOnce) {
        EXPECT_EQ(c, nullptr);
        EXPECT_EQ(error, f.expected);
        return;
    }
    ASSERT_NE(c, nullptr);
    const auto began = std::chrono::steady_clock::now();
    ASSERT_TRUE(finish(record, 15s));
    EXPECT_EQ(record.result, f.expected);
    EXPECT_LT(std::chrono::steady_clock::now() - began, 10s);
}

INSTANTIATE_TEST_SUITE_P(
    Faults, HttpFailureTest,
    ::testing::Values(
        Failure{"refused", "http://127.0.0.1:1/", eHTTPConnection::errorNoConnection, false, true},
        Failure{"unresolvable", "http://no-such-host.invalid/", eHTTPConnection::errorNotResolved,
                false, true},
        Failure{"file_scheme", "file:///etc/passwd", eHTTPConnection::errorBadAddress, true, true},
        Failure{"ftp_scheme", "ftp://127.0.0.1/x", eHTTPConnection::errorBadAddress, true, true},
        Failure{"no_address", "", eHTTPConnection::errorBadAddress, true, true},
        Failure{"not_an_address", "just words", eHTTPConnection::errorBadAddress, true, true},
        Failure{"redirect_loop", "loop", eHTTPConnection::errorTooManyRedirects, false},
        Failure{"redirect_to_file", "redirect_scheme?to=file:///etc/passwd",
                eHTTPConnection::errorBadAddress, false},
        Failure{"silent_server", "silent", eHTTPConnection::errorTimeout, false},
        Failure{"stalled_body", "stall_body", eHTTPConnection::errorTimeout, false},
        Failure{"endless_headers", "endless_headers", eHTTPConnection::errorHeaderTooLarge, false},
        Failure{"cut_headers", "cut_headers", eHTTPConnection::errorBrokenTransfer, false},
        Failure{"icy_refusal", "icy_status?code=404", eHTTPConnection::errorBrokenTransfer, false}),
    [](const auto &info) { return std::string(info.param.name); });

TEST_F(HttpTest, HttpsStreamsFromATrustedServerAndRefusesAnUntrustedOne)
{
    const Certificate &certificate = testCertificate();
    RadioServer secure("/tmp", certificate.cert, certificate.key);
    const std::string mp3 = makeMp3({});
    const std::string url = secure.url("stream?mp3=" + mp3 + "&metaint=0");

    Record untrusted;
    request(url, untrusted);
    ASSERT_TRUE(finish(untrusted));
    EXPECT_EQ(untrusted.result, eHTTPConnection::errorSecurity);
    EXPECT_TRUE(untrusted.body.empty());

    net::settings().caFile = certificate.cert;
    Record trusted;
    request(url, trusted);
    ASSERT_TRUE(finish(trusted));
    EXPECT_EQ(trusted.result, 0);
    EXPECT_EQ(trusted.statusAtSink, 200);
    EXPECT_TRUE(trusted.body == readFile(mp3));
}

// Through a proxy, the proxy's own answer to CONNECT is no response of the stream's.
TEST_F(HttpTest, HttpsThroughAProxyGetsTheStreamsOwnHeaders)
{
    const Certificate &certificate = testCertificate();
    RadioServer secure("/tmp", certificate.cert, certificate.key);
    const std::string mp3 = makeMp3({});
    net::settings().caFile = certificate.cert;
    const std::string proxy = "http://127.0.0.1:" + std::to_string(server.port());
    setenv("https_proxy", proxy.c_str(), 1);
    unsetenv("no_proxy");
    unsetenv("NO_PROXY");
    Record record;
    request(secure.url("stream?mp3=" + mp3 + "&metaint=1000&name=Tunnelled"), record);
    const bool finished = finish(record);
    unsetenv("https_proxy");
    setenv("no_proxy", "127.0.0.1,localhost", 1);
    setenv("NO_PROXY", "127.0.0.1,localhost", 1);
    ASSERT_TRUE(finished);
    EXPECT_EQ(record.result, 0);
    EXPECT_EQ(record.headersAtSink["icy-name"], "Tunnelled");
    EXPECT_EQ(record.headersAtSink["icy-metaint"], "1000");
    EXPECT_NE(server.requests().at(0).find("CONNECT"), std::string::npos)
        << "not through the proxy";
}

TEST_F(HttpTest, DisabledReadsHoldDataBackAndAreNeverTimedOut)
{
    net::settings().idleMs = 500;
    const std::string mp3 = makeMp3({});
    Record record;
    eHTTPConnection *c = nullptr;
    bool disabledInside = false;
    record.onData = [&](int) {
        if (!disabledInside) {
            disabledInside = true;
            c->disableRead(); // from inside a delivery, as the player does
        }
    };
    c = request(server.url("stream?mp3=" + mp3), record);
    ASSERT_TRUE(eApp->runUntil([&] { return disabledInside; }, 5s));
    const int piecesThen = record.pieces;
    eApp->runUntil([] { return false; }, 1500ms); // three idle limits
    EXPECT_EQ(record.pieces, piecesThen) << "data came while reads were disabled";
    EXPECT_FALSE(record.done);
    c->enableRead();
    EXPECT_EQ(record.pieces, piecesThen) << "enableRead delivered at once";
    ASSERT_TRUE(finish(record));
    EXPECT_EQ(record.result, 0);
    EXPECT_TRUE(record.body == readFile(mp3));
}

TEST_F(HttpTest, DeletingARunningConnectionEndsItWithItsSink)
{
    const std::string mp3 = makeMp3({});
    Record record;
    eHTTPConnection *c = request(server.url("stream?mp3=" + mp3 + "&rate=16000"), record);
    ASSERT_TRUE(eApp->runUntil([&] { return record.pieces > 0; }, 5s));
    ASSERT_FALSE(record.done) << record.result << " " << record.body.size();
    delete c;
    EXPECT_TRUE(record.sinkDeleted);
    eApp->runUntil([] { return false; }, 300ms);
    EXPECT_FALSE(record.done);
}

TEST_F(HttpTest, AConnectionDeletedBeforeItsStartSendsNothing)
{
    int error = 0;
    eHTTPConnection *c = eHTTPConnection::doRequest(server.url("pls").c_str(), eApp, &error);
    ASSERT_NE(c, nullptr);
    c->start();
    delete c;
    eApp->runUntil([] { return false; }, 300ms);
    EXPECT_TRUE(server.requests().empty());
}
} // namespace
