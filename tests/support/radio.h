// What the playback tests share: MP3 files made for the test, mpg123's decode of them as the
// reference, and the loopback radio server (tests/servers/radio_server.py).
#ifndef QUENLORA_TESTS_RADIO_H
#define QUENLORA_TESTS_RADIO_H

#include <string>
#include <sys/types.h>
#include <vector>

namespace testing_support
{

// The length and format of an MP3 made for a test.
struct ToneFile {
    double seconds = 3;
    int rate = 44100;
    int channels = 2;
    int kbps = 128;
};

// An MP3 of sine tones made with sox and lame (cached for the process); its path.
std::string makeMp3(const ToneFile &tone);
// The file's bytes joined: a stream whose format changes in the middle; its path.
std::string joinFiles(const std::vector<std::string> &paths);
// The PCM that `mpg123 -s` makes of a file.
std::string mpg123Pcm(const std::string &path);
// Output of a shell command, which must succeed.
std::string commandOutput(const std::string &command);

// The loopback server, started in its own process for as long as the object lives.
class RadioServer
{
public:
    // Serves files under /files/ from directory; over HTTPS with the certificate and key given.
    explicit RadioServer(const std::string &directory = "/tmp", const std::string &cert = "",
                         const std::string &key = "");
    ~RadioServer();
    RadioServer(const RadioServer &) = delete;
    RadioServer &operator=(const RadioServer &) = delete;

    int port() const { return portNumber; }
    // "http://127.0.0.1:PORT/" (or https) followed by path.
    std::string url(const std::string &path) const;
    // The requests received so far, one JSON text each.
    std::vector<std::string> requests() const;

private:
    pid_t pid = -1;
    int portNumber = 0;
    std::string logPath;
    bool tls = false;
};

// A self-signed certificate for "localhost" and its key (PEM files, made once); their paths.
struct Certificate {
    std::string cert, key;
};
const Certificate &testCertificate();

// Text as one URL query value.
std::string urlEncoded(const std::string &text);

} // namespace testing_support

#endif
