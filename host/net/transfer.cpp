#include "transfer.h"

#include <poll.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <cstring>

#include "edebug.h"
#include "net_settings.h"

namespace
{
// The most one haveData carries, and the most kept waiting before curl is paused.
constexpr size_t pieceSize = 16384;
constexpr size_t queueLimit = 4 * pieceSize;

std::string lowerCase(std::string text)
{
    for (char &c : text)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

std::string trimmed(const std::string &text)
{
    const char *blanks = " \t\r\n";
    const size_t first = text.find_first_not_of(blanks);
    if (first == std::string::npos)
        return "";
    return text.substr(first, text.find_last_not_of(blanks) - first + 1);
}

// A header value may not carry a line break into the request.
std::string oneLine(const std::string &text)
{
    std::string out;
    for (char c : text)
        if (c != '\r' && c != '\n')
            out += c;
    return out;
}

int resultOf(CURLcode code)
{
    switch (code) {
    case CURLE_OK:
        return 0;
    case CURLE_COULDNT_RESOLVE_HOST:
    case CURLE_COULDNT_RESOLVE_PROXY:
        return eHTTPConnection::errorNotResolved;
    case CURLE_COULDNT_CONNECT:
        return eHTTPConnection::errorNoConnection;
    case CURLE_UNSUPPORTED_PROTOCOL:
    case CURLE_URL_MALFORMAT:
        return eHTTPConnection::errorBadAddress;
    case CURLE_OPERATION_TIMEDOUT:
        return eHTTPConnection::errorTimeout;
    case CURLE_TOO_MANY_REDIRECTS:
        return eHTTPConnection::errorTooManyRedirects;
    case CURLE_PARTIAL_FILE:
    case CURLE_RECV_ERROR:
    case CURLE_SEND_ERROR:
    case CURLE_GOT_NOTHING:
    case CURLE_WEIRD_SERVER_REPLY:
    case CURLE_HTTP2:
    case CURLE_HTTP2_STREAM:
    case CURLE_BAD_CONTENT_ENCODING:
        return eHTTPConnection::errorBrokenTransfer;
    case CURLE_SSL_CONNECT_ERROR:
    case CURLE_PEER_FAILED_VERIFICATION:
    case CURLE_SSL_CERTPROBLEM:
    case CURLE_SSL_CIPHER:
    case CURLE_SSL_CACERT_BADFILE:
        return eHTTPConnection::errorSecurity;
    default:
        return eHTTPConnection::errorOther;
    }
}
} // namespace

eHTTPConnection::Transfer::Transfer(eHTTPConnection &owner, eMainloop *loop, const char *url)
    : owner(owner), loop(loop), url(url), curlTimer(loop), pumpTimer(loop), answerTimer(loop),
      idleTimer(loop), piece(pieceSize)
{
    curlTimer.timeout.connect([this] { curlTimeout(); });
    pumpTimer.timeout.connect([this] { pump(); });
    answerTimer.timeout.connect([this] { timeOut(); });
    idleTimer.timeout.connect([this] { idleCheck(); });

    multi = curl_multi_init();
    easy = curl_easy_init();
    curl_multi_setopt(multi, CURLMOPT_SOCKETFUNCTION, &Transfer::onSocket);
    curl_multi_setopt(multi, CURLMOPT_SOCKETDATA, this);
    curl_multi_setopt(multi, CURLMOPT_TIMERFUNCTION, &Transfer::onCurlTimer);
    curl_multi_setopt(multi, CURLMOPT_TIMERDATA, this);

    const net::Settings &bounds = net::settings();
    if (!bounds.caFile.empty())
        curl_easy_setopt(easy, CURLOPT_CAINFO, bounds.caFile.c_str());
    aliases = curl_slist_append(nullptr, "ICY 200 OK");
    curl_easy_setopt(easy, CURLOPT_URL, this->url.c_str());
    curl_easy_setopt(easy, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(easy, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(easy, CURLOPT_FOLLOWLOCATION, 1L);
    curl_easy_setopt(easy, CURLOPT_MAXREDIRS, bounds.redirects);
    curl_easy_setopt(easy, CURLOPT_HTTP200ALIASES, aliases);
    curl_easy_setopt(easy, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(easy, CURLOPT_BUFFERSIZE, static_cast<long>(pieceSize));
    curl_easy_setopt(easy, CURLOPT_CONNECTTIMEOUT_MS, static_cast<long>(bounds.answerMs));
    curl_easy_setopt(easy, CURLOPT_HEADERFUNCTION, &Transfer::onHeader);
    curl_easy_setopt(easy, CURLOPT_HEADERDATA, this);
    curl_easy_setopt(easy, CURLOPT_WRITEFUNCTION, &Transfer::onBody);
    curl_easy_setopt(easy, CURLOPT_WRITEDATA, this);
    curl_easy_setopt(easy, CURLOPT_ERRORBUFFER, curlError);
}

eHTTPConnection::Transfer::~Transfer()
{
    *alive = false;
    if (added)
        curl_multi_remove_handle(multi, easy);
    curl_easy_cleanup(easy);
    curl_multi_cleanup(multi);
    curl_slist_free_all(requestList);
    curl_slist_free_all(aliases);
}

void eHTTPConnection::Transfer::start()
{
    if (started)
        return;
    started = true;
    for (const auto &header : owner.requestHeaders)
        requestList = curl_slist_append(
            requestList, (oneLine(header.first) + ": " + oneLine(header.second)).c_str());
    curl_easy_setopt(easy, CURLOPT_HTTPHEADER, requestList);
    pumpTimer.start(0);
}

void eHTTPConnection::Transfer::disableRead()
{
    if (finished || !readsEnabled)
        return;
    readsEnabled = false;
    idleTimer.stop();
    if (added && !curlDone && !curlPaused) {
        curl_easy_pause(easy, CURLPAUSE_RECV);
        curlPaused = true;
    }
}

void eHTTPConnection::Transfer::enableRead()
{
    if (finished || readsEnabled)
        return;
    readsEnabled = true;
    if (added && !curlDone) {
        noteActivity(); // the wait for data starts again now
        idleTimer.start(net::settings().idleMs);
    }
    pumpTimer.start(0);
}

int eHTTPConnection::Transfer::onSocket(CURL *, curl_socket_t fd, int what, void *self, void *)
{
    Transfer &t = *static_cast<Transfer *>(self);
    auto old = t.watches.find(fd);
    if (old != t.watches.end()) {
        // The notifier may be the one whose event is being handled: free it later.
        t.retired.push_back(std::move(old->second));
        t.watches.erase(old);
    }
    if (what == CURL_POLL_REMOVE)
        return 0;
    int events = 0;
    if (what & CURL_POLL_IN)
        events |= POLLIN;
    if (what & CURL_POLL_OUT)
        events |= POLLOUT;
    auto notifier = std::make_unique<eSocketNotifier>(t.loop, fd, events, true);
    notifier->activated.connect([&t, fd](int revents) { t.socketReady(fd, revents); });
    t.watches.emplace(fd, std::move(notifier));
    return 0;
}

int eHTTPConnection::Transfer::onCurlTimer(CURLM *, long ms, void *self)
{
    Transfer &t = *static_cast<Transfer *>(self);
    if (ms < 0)
        t.curlTimer.stop();
    else
        t.curlTimer.start(static_cast<int>(ms));
    return 0;
}

size_t eHTTPConnection::Transfer::onHeader(char *data, size_t size, size_t count, void *self)
{
    Transfer &t = *static_cast<Transfer *>(self);
    const size_t length = size * count;
    t.headerBytes += length;
    if (t.headerBytes > net::settings().headerBytes) {
        t.headerTooLarge = true;
        return 0; // curl ends the transfer
    }
    t.noteActivity();
    t.headerLine(std::string(data, length));
    return length;
}

void eHTTPConnection::Transfer::headerLine(const std::string &line)
{
    if (line.compare(0, 5, "HTTP/") == 0 || line.compare(0, 4, "ICY ") == 0) {
        // A new response (after a redirect or an interim answer) replaces the last one.
        owner.responseHeaders.clear();
        owner.reasonText = "";
        headersFinal = false;
        headerBytes = line.size();
        const size_t codeAt = line.find(' ');
        owner.statusCode = codeAt == std::string::npos
                               ? 0
                               : static_cast<int>(std::strtol(line.c_str() + codeAt, nullptr, 10));
        const size_t reasonAt =
            codeAt == std::string::npos ? std::string::npos : line.find(' ', codeAt + 1);
        if (reasonAt != std::string::npos)
            owner.reasonText = trimmed(line.substr(reasonAt + 1));
        return;
    }
    if (trimmed(line).empty() && (line.empty() || line[0] == '\r' || line[0] == '\n')) {
        const int code = owner.statusCode;
        // A proxy's answer to CONNECT comes through here too; curl counts it apart from the
        // response, whose code it has not got yet.
        long responseCode = 0;
        curl_easy_getinfo(easy, CURLINFO_RESPONSE_CODE, &responseCode);
        if (responseCode == 0)
            return;
        const bool interim = code / 100 == 1;
        const bool followed =
            code / 100 == 3 && owner.responseHeaders.count("location") && code != 304;
        if (!interim && !followed) {
            headersFinal = true;
            answerTimer.stop();
        }
        return;
    }
    if ((line[0] == ' ' || line[0] == '\t') && !owner.responseHeaders.empty())
        return; // a folded continuation line: not used by any header read here
    const size_t colon = line.find(':');
    if (colon == std::string::npos || colon == 0)
        return;
    owner.responseHeaders[lowerCase(trimmed(line.substr(0, colon)))] =
        trimmed(line.substr(colon + 1));
}

size_t eHTTPConnection::Transfer::onBody(char *data, size_t size, size_t count, void *self)
{
    Transfer &t = *static_cast<Transfer *>(self);
    const size_t length = size * count;
    if (!t.headersFinal)
        return length; // the body of a redirect or an interim answer
    if (static_cast<size_t>(t.received.size()) >= queueLimit || !t.readsEnabled) {
        t.curlPaused = true;
        return CURL_WRITEFUNC_PAUSE; // curl keeps the bytes until it is unpaused
    }
    t.received.write(data, static_cast<int>(length));
    t.noteActivity();
    return length;
}

void eHTTPConnection::Transfer::socketReady(curl_socket_t fd, int events)
{
    int mask = 0;
    if (events & POLLIN)
        mask |= CURL_CSELECT_IN;
    if (events & POLLOUT)
        mask |= CURL_CSELECT_OUT;
    if (events & (POLLERR | POLLHUP | POLLNVAL))
        mask |= CURL_CSELECT_ERR | CURL_CSELECT_IN;
    int running = 0;
    curl_multi_socket_action(multi, fd, mask, &running);
    afterCurl();
}

void eHTTPConnection::Transfer::curlTimeout()
{
    retired.clear();
    int running = 0;
    curl_multi_socket_action(multi, CURL_SOCKET_TIMEOUT, 0, &running);
    afterCurl();
}

void eHTTPConnection::Transfer::pump()
{
    retired.clear();
    if (started && !added && !curlDone) {
        added = true;
        answerTimer.start(net::settings().answerMs);
        noteActivity();
        idleTimer.start(net::settings().idleMs);
        curl_multi_add_handle(multi, easy);
        return; // curl asks for its timeout, and works from there
    }
    if (curlPaused && readsEnabled && !curlDone &&
        static_cast<size_t>(received.size()) < queueLimit) {
        curlPaused = false;
        curl_easy_pause(easy, CURLPAUSE_CONT); // may hand over kept bytes to onBody at once
        int running = 0;
        curl_multi_socket_action(multi, CURL_SOCKET_TIMEOUT, 0, &running);
    }
    afterCurl();
}

// curl's code, and what it cannot know: which bound of ours ended the transfer, and whether
// what came was an HTTP response at all.
int eHTTPConnection::Transfer::resultFor(CURLcode code) const
{
    if (headerTooLarge)
        return errorHeaderTooLarge;
    if (code == CURLE_UNSUPPORTED_PROTOCOL) {
        // After a redirect to another scheme the address is at fault; otherwise the server
        // answered with something that is not HTTP ("ICY 404 ..." reads as HTTP/0.9).
        const bool redirected =
            owner.statusCode / 100 == 3 && owner.responseHeaders.count("location");
        long requestBytes = 0;
        curl_easy_getinfo(easy, CURLINFO_REQUEST_SIZE, &requestBytes);
        return !redirected && requestBytes > 0 ? errorBrokenTransfer : errorBadAddress;
    }
    if (code == CURLE_OK && !headersFinal)
        return errorBrokenTransfer; // closed before the headers were complete
    return resultOf(code);
}

void eHTTPConnection::Transfer::noteActivity()
{
    lastByte = eMainloop::Clock::now();
}

// The idle timer is not restarted with every byte: when it expires it looks at the last one.
void eHTTPConnection::Transfer::idleCheck()
{
    if (!readsEnabled || curlDone)
        return;
    const auto quiet =
        std::chrono::duration_cast<std::chrono::milliseconds>(eMainloop::Clock::now() - lastByte)
            .count();
    const int limit = net::settings().idleMs;
    if (quiet < limit)
        idleTimer.start(static_cast<int>(limit - quiet));
    else
        timeOut();
}

void eHTTPConnection::Transfer::timeOut()
{
    if (curlDone)
        return;
    eDebug("[HTTP] %s: no answer in time, giving up", url.c_str());
    curlDone = true;
    result = errorTimeout;
    curl_multi_remove_handle(multi, easy);
    added = false;
    watches.clear();
    curlTimer.stop();
    answerTimer.stop();
    idleTimer.stop();
    deliver();
}

void eHTTPConnection::Transfer::afterCurl()
{
    int left = 0;
    while (CURLMsg *message = curl_multi_info_read(multi, &left)) {
        if (message->msg != CURLMSG_DONE || curlDone)
            continue;
        curlDone = true;
        const CURLcode code = message->data.result;
        result = resultFor(code);
        if (code != CURLE_OK)
            eDebug("[HTTP] %s: %s", url.c_str(),
                   curlError[0] ? curlError : curl_easy_strerror(code));
        answerTimer.stop();
        idleTimer.stop();
        curlTimer.stop();
    }
    deliver();
}

void eHTTPConnection::Transfer::deliver()
{
    if (delivering || finished)
        return; // a slot below runs a nested loop; the outer call goes on afterwards
    delivering = true;
    const std::shared_ptr<bool> guard = alive;

    if (headersFinal && !sinkRequested) {
        sinkRequested = true;
        eHTTPDataSource *made = owner.createDataSink.emit(&owner);
        if (!*guard)
            return;
        sink.reset(made);
    }
    while (readsEnabled && !received.empty()) {
        const int n = received.read(piece.data(), static_cast<int>(pieceSize));
        if (sink)
            sink->haveData(piece.data(), n);
        if (!*guard)
            return;
    }
    delivering = false;
    if (curlPaused && readsEnabled && !curlDone)
        pumpTimer.start(0);
    if (curlDone && received.empty())
        finish();
}

void eHTTPConnection::Transfer::finish()
{
    finished = true;
    const std::shared_ptr<bool> guard = alive;
    owner.transferDone.emit(result);
    if (*guard)
        delete &owner; // with the sink; nothing of this object is touched after this line
}
