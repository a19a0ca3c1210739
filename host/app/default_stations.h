#ifndef QUENLORA_APP_DEFAULT_STATIONS_H
#define QUENLORA_APP_DEFAULT_STATIONS_H

#include <string>

namespace app
{
// The project's data/stations.xml, built into the program.
std::string defaultStations();
} // namespace app

#endif
