#include <curl/curl.h>

#include <cctype>
#include <string>

#include "ehttpconnection.h"
#include "net_settings.h"
#include "transfer.h"

namespace net
{
Settings &settings()
{
    static Settings current;
    return current;
}
} // namespace net

namespace
{
// Only http:// and https:// addresses that curl can take apart.
bool acceptable(const char *url)
{
    if (!url || !*url)
        return false;
    CURLU *parts = curl_url();
    bool ok = false;
    if (curl_url_set(parts, CURLUPART_URL, url, 0) == CURLUE_OK) {
        char *scheme = nullptr;
        char *host = nullptr;
        if (curl_url_get(parts, CURLUPART_SCHEME, &scheme, 0) == CURLUE_OK &&
            curl_url_get(parts, CURLUPART_HOST, &host, 0) == CURLUE_OK) {
            std::string s(scheme);
            for (char &c : s)
                c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
            ok = (s == "http" || s == "https") && host[0];
        }
        curl_free(scheme);
        curl_free(host);
    }
    curl_url_cleanup(parts);
    return ok;
}
} // namespace

eHTTPConnection *eHTTPConnection::doRequest(const char *url, eMainloop *loop, int *error)
{
    static const bool initialised = curl_global_init(CURL_GLOBAL_DEFAULT) == CURLE_OK;
    if (!initialised || !acceptable(url)) {
        if (error)
            *error = initialised ? errorBadAddress : errorOther;
        return nullptr;
    }
    return new eHTTPConnection(loop, url);
}

eHTTPConnection::eHTTPConnection(eMainloop *loop, const char *url)
    : transfer(std::make_unique<Transfer>(*this, loop, url))
{
}

eHTTPConnection::~eHTTPConnection() = default;

void eHTTPConnection::start()
{
    transfer->start();
}

void eHTTPConnection::disableRead()
{
    transfer->disableRead();
}

void eHTTPConnection::enableRead()
{
    transfer->enableRead();
}

bool eHTTPConnection::isReading() const
{
    return transfer->reading();
}
