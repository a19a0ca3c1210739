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
    enum { errorNotResolved = -2, errorNoConnection = -3 };

    // A new connection for url, not started yet; or null with the reason in *error.
    static eHTTPConnection *doRequest(const char *url, eMainloop *loop, int *error);
    // Deleting a running connection ends its transfer.
    ~eHTTPConnection() override;

    // Sends the request, from the main loop.
    void start();
    void disableRead() override;
    void enableRead() override;

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
    explicit eHTTPConnection(std::unique_ptr<Transfer> transfer);
    std::unique_ptr<Transfer> transfer;
};

#pragma GCC visibility pop

#endif
