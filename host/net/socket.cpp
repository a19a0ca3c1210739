#include "esocket.h"

eSocket::~eSocket() = default;
