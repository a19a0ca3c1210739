#include "icy_stream.h"

#include <climits>
#include <cstdlib>
#include <cstring>

#include <edebug.h>

scHTTPStream::scHTTPStream(eHTTPConnection *connection, eIOBuffer &buffer)
    : eHTTPDataSource(connection), buffer(buffer)
{
    eDebug("HTTP stream sink created!");
    metadatainterval = bytes = metadataleft = 0;
    metadatafill = 0;

    std::map<eString, eString> &headers = connection->responseHeaders;
    if (headers.find("icy-metaint") != headers.end()) {
        long interval = strtol(headers["icy-metaint"].c_str(), 0, 10);
        // A negative interval cannot frame anything: the body is all audio then.
        if (interval < 0)
            interval = 0;
        if (interval > INT_MAX)
            interval = INT_MAX;
        metadatainterval = (int)interval;
    }
    if (headers.find("icy-name") != headers.end())
        icyName = headers["icy-name"];
    if (headers.find("icy-genre") != headers.end())
        icyGenre = headers["icy-genre"];
}

scHTTPStream::~scHTTPStream()
{
    eDebug("HTTP stream sink deleted!");
}

void scHTTPStream::processMetaData()
{
    metadata[metadatafill] = 0;
    metaDataArrived(eString(metadata));
    metadatafill = 0;
}

void scHTTPStream::haveData(void *vdata, int len)
{
    unsigned char *data = (unsigned char *)vdata;

    while (len) {
        if (metadataleft) {
            int n = metadataleft < len ? metadataleft : len;
            memcpy(metadata + metadatafill, data, n);
            metadatafill += n;
            metadataleft -= n;
            data += n;
            len -= n;
            if (!metadataleft)
                processMetaData();
        } else if (metadatainterval && bytes == metadatainterval) {
            metadataleft = data[0] * 16;
            bytes = 0;
            metadatafill = 0;
            data++;
            len--;
        } else {
            if (metadatainterval && metadatainterval < bytes)
                eFatal("metadatainterval < bytes");
            int n = len;
            if (metadatainterval && len > metadatainterval - bytes)
                n = metadatainterval - bytes;
            buffer.write(data, n);
            bytes += n;
            data += n;
            len -= n;
        }
    }
    dataArrived();
}
