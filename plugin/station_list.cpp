// Reading the station directory file into the chooser.
#include <cstdio>
#include <cstring>

#include <boxpath.h>
#include <ecombobox.h>

#include "box_files.h"
#include "quenlo_dialog.h"

void QuenloDialog::initialise()
{
    FILE *file = fopen(boxPath(STATIONS_FILE).c_str(), "r");
    if (!file) {
        eString message;
        message.sprintf("File " STATIONS_FILE " not found.");
        setError(message.c_str());
        return;
    }
    eString text;
    char piece[100];
    while (fgets(piece, sizeof piece, file))
        text.append(piece, strlen(piece));
    fclose(file);

    // The chooser's rows point into the current tree, so it stays until a new one has a root.
    XMLTreeParser *fresh = new XMLTreeParser("ISO-8859-1");
    if (!fresh->Parse(text.c_str(), text.length(), 0)) {
        eString message;
        message.sprintf("XML parse error: %s at line %d",
                        XMLTreeParser::ErrorString(fresh->GetErrorCode()),
                        fresh->GetCurrentLineNumber());
        delete fresh;
        setError(message.c_str());
        return;
    }
    XMLTreeNode *root = fresh->RootNode();
    if (!root) {
        delete fresh;
        setError("XML parse error");
        return;
    }
    if (parser)
        delete parser;
    parser = fresh;
    stationBox->clearList();
    loadStations(root);
}

void QuenloDialog::loadStations(XMLTreeNode *root)
{
    for (XMLTreeNode *node = root->GetChild(); node; node = node->GetNext()) {
        if (!strcmp(node->GetType(), "station")) {
            const char *name = node->GetAttributeValue("name");
            const char *url = node->GetAttributeValue("url");
            new eListBoxEntryText(stationBox, name, (void *)url, 0, eString(), 0);
        } else if (!strcmp(node->GetType(), "playlist")) {
            for (XMLTreeNode *entry = node->GetChild(); entry; entry = entry->GetNext()) {
                if (strcmp(entry->GetType(), "entry"))
                    continue;
                const char *playstring = entry->GetAttributeValue("Playstring");
                const char *name = "";
                for (XMLTreeNode *child = entry->GetChild(); child; child = child->GetNext())
                    if (!strcmp(child->GetType(), "Name"))
                        name = child->GetData();
                new eListBoxEntryText(stationBox, name, (void *)playstring, 0, eString(), 0);
            }
        }
    }
}
