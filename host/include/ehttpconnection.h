// HTTP (and HTTPS) transfers on the main loop, and the base of what receives a body.
#ifndef QUENLORA_EHTTPCONNECTION_H
#define QUENLORA_EHTTPCONNECTION_H

// The plug-in is built with hidden visibility; what it uses of the host stays visible.
#pragma GCC visibility push(default)

#include <map>
#include <memory>

#include "esocket.h"
#include "estring.h"

class eMainloop;
class eHTTPConnection;

// Receives the body of a response, piece by piece, in order.
class eHTTPDataSource : public SigC::Object
{
public:
    explicit eHTTPDataSource(eHTTPConnection *connection);
    virtual ~eHTTPDataSource();
    virtual void haveData(void *data, int length);
    virtual int doWrite(int bytes);

protected:
    eHTTPConnection *connection;
};

class eHTTPConnection : public eSocket
{
public:
    // Results of a transfer (transferDone) and of doRequest. 0 is a complete transfer,
    // whatever the status code; everything else is negative.
    enum {
        errorOther = -1,        // anything not listed below
        errorNotResolved = -2,  // the host name (or the proxy's) cannot be resolved
        errorNoConnection = -3, // connection refused or server unreachable
        errorBadAddress = -4,   // not an http:// or https:// address, or malformed
        errorTimeout = -5,      // no answer, or no data for too long while reading
        errorTooManyRedirects = -6,
        errorBrokenTransfer = -7, // the server closed or failed in the middle of the response,
                                  // or its answer is not HTTP ("ICY 404 ...")
        errorHeaderTooLarge = -8, // response headers beyond the host's bound
        errorSecurity = -9,       // TLS handshake or certificate check failed
    };

    // A new connection for url, not started yet; or null with the reason in *error (only
    // errorBadAddress can be told at once; every other failure is the transfer's result).
    static eHTTPConnection *doRequest(const char *url, eMainloop *loop, int *error);
    // Deleting a running connection ends its transfer.
    ~eHTTPConnection() override;

    // Sends the request, from the main loop: nothing runs inside start, enableRead or
    // disableRead. Redirects are followed; the sink is asked for once the final response's
    // headers are in, before its first body byte; each haveData carries at most 16384 bytes.
    // After transferDone's slots have returned, the connection deletes its sink and itself.
    void start();
    void disableRead() override;
    void enableRead() override;
    // Whether received data is handed over (reads enabled and the transfer not over).
    bool isReading() const;

    std::map<eString, eString> requestHeaders;
    // Names in lower case, values trimmed; those of the last response.
    std::map<eString, eString> responseHeaders;
    int statusCode = 0;
    eString reasonText;

    // Once the response headers are in: asks for the body's receiver.
    SigC::Signal1<eHTTPDataSource *, eHTTPConnection *> createDataSink;
    // At the end of the transfer: 0 when it completed, else an error code.
    SigC::Signal1<void, int> transferDone;

    struct Transfer;

private:
    eHTTPConnection(eMainloop *loop, const char *url);
    std::unique_ptr<Transfer> transfer;
};

#pragma GCC visibility pop

#endif
