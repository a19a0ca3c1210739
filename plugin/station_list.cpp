// Reading the station directory file into the chooser.
#include <boxpath.h>
#include <ecombobox.h>

#include "box_files.h"
#include "quenlo_dialog.h"
#include "station_file.h"

void QuenloDialog::initialise()
{
    // The chooser's rows point into the current tree, so it stays until a new one has a root.
    eString error;
    XMLTreeParser *fresh =
        parseStationFile(boxPath(STATIONS_FILE).c_str(), STATIONS_FILE, false, error);
    if (!fresh) {
        setError(error.c_str());
        return;
    }
    if (parser)
        delete parser;
    parser = fresh;
    stationBox->clearList();
    loadStations(parser->RootNode());
}

namespace
{
void addRow(void *chooser, const char *name, const char *address)
{
    new eListBoxEntryText(static_cast<eComboBox *>(chooser), name, (void *)address, 0, eString(),
                          0);
}
} // namespace

void QuenloDialog::loadStations(XMLTreeNode *root)
{
    visitStations(root, addRow, stationBox);
}
