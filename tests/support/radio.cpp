#include "radio.h"

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <memory>
#include <sstream>
#include <stdexcept>
#include <sys/wait.h>
#include <unistd.h>

#include "test_support.h"

namespace testing_support
{

namespace
{
TempDir &fixtureDir()
{
    static TempDir dir;
    return dir;
}
} // namespace

std::string commandOutput(const std::string &command)
{
    std::unique_ptr<FILE, int (*)(FILE *)> pipe(popen(command.c_str(), "r"), pclose);
    if (!pipe)
        throw std::runtime_error("cannot run " + command);
    std::string out;
    char buffer[65536];
    size_t n;
    while ((n = fread(buffer, 1, sizeof buffer, pipe.get())) > 0)
        out.append(buffer, n);
    const int status = pclose(pipe.release());
    if (status != 0)
        throw std::runtime_error("failed: " + command);
    return out;
}

std::string makeMp3(const ToneFile &tone)
{
    static std::map<std::string, std::string> made;
    std::ostringstream name;
    name << "tone-" << tone.seconds << "s-" << tone.rate << "-" << tone.channels << "ch-"
         << tone.kbps << "k";
    auto found = made.find(name.str());
    if (found != made.end())
        return found->second;
    const std::string wav = fixtureDir().file(name.str() + ".wav");
    const std::string mp3 = fixtureDir().file(name.str() + ".mp3");
    std::ostringstream command;
    // Two tones that glide, so that every frame differs from the one before.
    command << "sox -q -n -r " << tone.rate << " -c " << tone.channels << " -b 16 '" << wav
            << "' synth " << tone.seconds << " sine 300-900 sine 500-1200 gain -3"
            << " && lame --quiet -b " << tone.kbps << " '" << wav << "' '" << mp3 << "'"
            << " && rm -f '" << wav << "'";
    commandOutput(command.str());
    made[name.str()] = mp3;
    return mp3;
}

std::string joinFiles(const std::vector<std::string> &paths)
{
    static int count = 0;
    std::string bytes;
    for (const auto &p : paths)
        bytes += readFile(p);
    return fixtureDir().write("joined-" + std::to_string(++count) + ".mp3", bytes);
}

std::string mpg123Pcm(const std::string &path)
{
    return commandOutput("mpg123 -q -s '" + path + "'");
}

std::string urlEncoded(const std::string &text)
{
    static const char hex[] = "0123456789ABCDEF";
    std::string out;
    for (unsigned char c : text) {
        if (isalnum(c) || c == '-' || c == '_' || c == '.' || c == '~' || c == '/') {
            out += static_cast<char>(c);
        } else {
            out += '%';
            out += hex[c >> 4];
            out += hex[c & 15];
        }
    }
    return out;
}

const Certificate &testCertificate()
{
    static const Certificate made = [] {
        Certificate c{fixtureDir().file("localhost.crt"), fixtureDir().file("localhost.key")};
        commandOutput("openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj /CN=localhost"
                      " -addext subjectAltName=DNS:localhost -keyout '" +
                      c.key + "' -out '" + c.cert + "' 2>/dev/null");
        return c;
    }();
    return made;
}

RadioServer::RadioServer(const std::string &directory, const std::string &cert,
                         const std::string &key)
    : tls(!cert.empty())
{
    static int count = 0;
    logPath = fixtureDir().file("server-" + std::to_string(getpid()) + "-" +
                                std::to_string(++count) + ".log");
    int out[2];
    if (pipe(out) != 0)
        throw std::runtime_error("pipe failed");
    pid = fork();
    if (pid == 0) {
        dup2(out[1], 1);
        close(out[0]);
        close(out[1]);
        std::vector<const char *> args = {
            "python3", RADIO_SERVER_SCRIPT, "--dir", directory.c_str(), "--log", logPath.c_str()};
        if (!cert.empty())
            args.insert(args.end(), {"--cert", cert.c_str(), "--key", key.c_str()});
        args.push_back(nullptr);
        execvp("python3", const_cast<char *const *>(args.data()));
        _exit(127);
    }
    close(out[1]);
    FILE *from = fdopen(out[0], "r");
    char line[64] = {};
    if (!fgets(line, sizeof line, from) || sscanf(line, "port %d", &portNumber) != 1) {
        fclose(from);
        throw std::runtime_error("the radio server did not start");
    }
    fclose(from);
}

RadioServer::~RadioServer()
{
    if (pid > 0) {
        kill(pid, SIGKILL);
        waitpid(pid, nullptr, 0);
    }
}

std::string RadioServer::url(const std::string &path) const
{
    return (tls ? "https://localhost:" : "http://127.0.0.1:") + std::to_string(portNumber) + "/" +
           path;
}

std::vector<std::string> RadioServer::requests() const
{
    std::vector<std::string> lines;
    std::ifstream in(logPath);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

} // namespace testing_support
