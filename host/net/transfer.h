// One HTTP transfer on libcurl's multi interface, driven by the host main loop: curl's sockets
// become socket notifiers and its timeout an eTimer. curl's callbacks only record what arrives;
// the connection's signals and the sink's haveData run later, from the loop, so that whatever
// the plug-in does in them (pausing reads, a modal box) never runs inside curl.
#ifndef QUENLORA_NET_TRANSFER_H
#define QUENLORA_NET_TRANSFER_H

#include <curl/curl.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "ehttpconnection.h"
#include "eiobuffer.h"
#include "emainloop.h"
#include "timer.h"

struct eHTTPConnection::Transfer {
    Transfer(eHTTPConnection &owner, eMainloop *loop, const char *url);
    ~Transfer();
    Transfer(const Transfer &) = delete;
    Transfer &operator=(const Transfer &) = delete;

    void start();
    void disableRead();
    void enableRead();
    bool reading() const { return readsEnabled && !finished; }

private:
    static int onSocket(CURL *, curl_socket_t fd, int what, void *self, void *);
    static int onCurlTimer(CURLM *, long ms, void *self);
    static size_t onHeader(char *data, size_t size, size_t count, void *self);
    static size_t onBody(char *data, size_t size, size_t count, void *self);

    void headerLine(const std::string &line);
    void socketReady(curl_socket_t fd, int events);
    void curlTimeout();
    void pump();
    void timeOut();
    void afterCurl();
    void deliver();
    void finish();
    void noteActivity();
    int resultFor(CURLcode code) const;
    void idleCheck();

    eHTTPConnection &owner;
    eMainloop *loop;
    std::string url;
    CURLM *multi = nullptr;
    CURL *easy = nullptr;
    curl_slist *requestList = nullptr;
    curl_slist *aliases = nullptr;
    char curlError[CURL_ERROR_SIZE] = {};

    std::map<curl_socket_t, std::unique_ptr<eSocketNotifier>> watches;
    // Notifiers replaced inside curl's callback, freed from the next pump.
    std::vector<std::unique_ptr<eSocketNotifier>> retired;
    eTimer curlTimer; // curl's own timeout
    eTimer pumpTimer; // deferred work: adding the transfer, unpausing, deliveries
    eTimer answerTimer;
    eTimer idleTimer;

    // Body bytes received and not handed over yet, and the piece that hands them over.
    eIOBuffer received{65536};
    std::vector<char> piece;
    // When the last byte came; the idle timer looks at it when it expires.
    eMainloop::Clock::time_point lastByte;
    size_t headerBytes = 0;
    std::unique_ptr<eHTTPDataSource> sink;

    bool started = false;
    bool added = false;
    bool headersFinal = false; // the final response's header block is complete
    bool sinkRequested = false;
    bool readsEnabled = true;
    bool curlPaused = false;
    bool headerTooLarge = false;
    bool curlDone = false;
    bool finished = false; // transferDone has been emitted
    bool delivering = false;
    int result = 0;
    // Cleared when the connection is deleted, so that code after a signal sees it.
    std::shared_ptr<bool> alive = std::make_shared<bool>(true);
};

#endif
