#include "stream_decoder.h"

StreamDecoder::~StreamDecoder() {}
