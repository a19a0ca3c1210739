// The station directory file: reading and parsing it, and walking its stations in either of
// its two shapes (station elements, or entry elements inside playlist elements).
#ifndef QUENLORA_PLUGIN_STATION_FILE_H
#define QUENLORA_PLUGIN_STATION_FILE_H

#include <estring.h>
#include <xmltree.h>

// Reads the file at path and parses it. Returns the parser, which holds a tree with a root, or
// 0 with the reason in error; the reason names the file as shownName. The chooser takes a file
// cut short for the stations before the cut; with wholeDocument a document must also end.
XMLTreeParser *parseStationFile(const char *path, const char *shownName, bool wholeDocument,
                                eString &error);

// Called once per station in file order with its name and its playlist address as the file
// gives them (either may be 0).
typedef void (*StationVisitor)(void *context, const char *name, const char *address);
void visitStations(XMLTreeNode *root, StationVisitor visit, void *context);

// The number of stations that have a playlist address, that is those Play can start.
int countPlayableStations(XMLTreeNode *root);

#endif
