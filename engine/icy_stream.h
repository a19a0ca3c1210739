// The receiver of an ICY (SHOUTcast) stream's body: audio bytes go to the decoder's input
// buffer, each in-band metadata block is passed on as text.
#ifndef QUENLORA_ENGINE_ICY_STREAM_H
#define QUENLORA_ENGINE_ICY_STREAM_H

#include <ehttpconnection.h>
#include <eiobuffer.h>
#include <estring.h>
#include <sigc_compat.h>

class scHTTPStream : public eHTTPDataSource
{
    eIOBuffer &buffer;

public:
    eString icyName;
    eString icyGenre;

private:
    int bytes;            // audio bytes since the last length byte
    int metadatainterval; // audio bytes between two length bytes; 0: no metadata
    int metadataleft;     // bytes of the current block still to come
    int metadatafill;     // bytes of the current block stored so far
    char metadata[4100];

    void processMetaData();

public:
    scHTTPStream(eHTTPConnection *connection, eIOBuffer &buffer);
    virtual ~scHTTPStream();
    virtual void haveData(void *data, int len);

    SigC::Signal0<void> dataArrived;
    SigC::Signal1<void, eString> metaDataArrived;
};

#endif
