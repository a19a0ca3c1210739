#include "ehttpconnection.h"

eHTTPDataSource::eHTTPDataSource(eHTTPConnection *connection) : connection(connection) {}

eHTTPDataSource::~eHTTPDataSource() = default;

void eHTTPDataSource::haveData(void *, int) {}

int eHTTPDataSource::doWrite(int)
{
    return 0;
}
