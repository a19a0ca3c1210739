// The emulated TV decoder: it has no picture or sound of its own here, so applying its
// parameters means recording them in the log.
#include "decoder.h"

#include "edebug.h"

decoderParameters Decoder::parms = {0x1FFF, 0x1FFF, 0x1FFF, 0x1FFF, 0x1FFF, 0};

int Decoder::Set()
{
    eDebug("Decoder::Set - vpid %d, apid %d, tpid %d, pcrpid %d, pmtpid %d, audio type %d",
           parms.vpid, parms.apid, parms.tpid, parms.pcrpid, parms.pmtpid, parms.audioType);
    return 0;
}
