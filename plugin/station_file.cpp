#include "station_file.h"

#include <cstdio>
#include <cstring>

XMLTreeParser *parseStationFile(const char *path, const char *shownName, bool wholeDocument,
                                eString &error)
{
    FILE *file = fopen(path, "r");
    if (!file) {
        error.sprintf("File %s not found.", shownName);
        return 0;
    }
    eString text;
    char piece[100];
    while (fgets(piece, sizeof piece, file))
        text.append(piece, strlen(piece));
    fclose(file);

    XMLTreeParser *parser = new XMLTreeParser("ISO-8859-1");
    if (!parser->Parse(text.c_str(), text.length(), 0) ||
        (wholeDocument && !parser->Parse("", 0, 1))) {
        error.sprintf("XML parse error: %s at line %d",
                      XMLTreeParser::ErrorString(parser->GetErrorCode()),
                      parser->GetCurrentLineNumber());
        delete parser;
        return 0;
    }
    if (!parser->RootNode()) {
        delete parser;
        error.sprintf("XML parse error");
        return 0;
    }
    return parser;
}

void visitStations(XMLTreeNode *root, StationVisitor visit, void *context)
{
    for (XMLTreeNode *node = root->GetChild(); node; node = node->GetNext()) {
        if (!strcmp(node->GetType(), "station")) {
            const char *name = node->GetAttributeValue("name");
            visit(context, name, node->GetAttributeValue("url"));
        } else if (!strcmp(node->GetType(), "playlist")) {
            for (XMLTreeNode *entry = node->GetChild(); entry; entry = entry->GetNext()) {
                if (strcmp(entry->GetType(), "entry"))
                    continue;
                const char *name = "";
                for (XMLTreeNode *child = entry->GetChild(); child; child = child->GetNext())
                    if (!strcmp(child->GetType(), "Name"))
                        name = child->GetData();
                visit(context, name, entry->GetAttributeValue("Playstring"));
            }
        }
    }
}

namespace
{
void countPlayable(void *context, const char *, const char *address)
{
    if (address && *address)
        ++*static_cast<int *>(context);
}
} // namespace

int countPlayableStations(XMLTreeNode *root)
{
    int count = 0;
    visitStations(root, countPlayable, &count);
    return count;
}
