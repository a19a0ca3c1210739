// The station file under any contents, read by the main window as at start-up and after the
// settings window: through the real XML parser into the chooser. A file it cannot read must
// leave the rows of the last good file in place and readable; every row's name and address
// must be readable text.
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "ecombobox.h"
#include "estatusbar.h"
#include "fuzz_box.h"
#include "quenlo_dialog.h"
#include "station_file.h"

namespace
{
struct Row {
    std::string name, address;
    bool operator==(const Row &other) const
    {
        return name == other.name && address == other.address;
    }
};

template <class Widget> Widget *childOf(QuenloDialog &dialog)
{
    for (eWidget *child : dialog.getChildren())
        if (auto *widget = dynamic_cast<Widget *>(child))
            return widget;
    abort();
}

std::vector<Row> rows(eComboBox &chooser)
{
    std::vector<Row> all;
    for (int i = 0; i < chooser.getCount(); ++i) {
        auto *entry = static_cast<eListBoxEntryText *>(chooser.entryAt(i));
        const char *address = static_cast<const char *>(entry->getKey());
        all.push_back(Row{entry->getText(), address ? address : "(none)"});
    }
    return all;
}

void check(bool holds, const char *what)
{
    if (!holds) {
        fprintf(stderr, "station file: %s\n", what);
        abort();
    }
}

const char *goodFile = "<stations><station name=\"Good\" url=\"http://127.0.0.1:1/\"/></stations>";
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzBox &box = FuzzBox::instance();
    static QuenloDialog *dialog = [&box] {
        box.write("var/etc/stations.xml", goodFile);
        return new QuenloDialog();
    }();
    eComboBox &chooser = *childOf<eComboBox>(*dialog);
    eStatusBar &status = *childOf<eStatusBar>(*dialog);

    // Every other input starts from the good file, so that a failed read has rows to keep.
    static bool fromGood = false;
    fromGood = !fromGood;
    if (fromGood) {
        box.write("var/etc/stations.xml", goodFile);
        dialog->initialise();
    }
    const std::vector<Row> before = rows(chooser);
    status.setText("");

    box.write("var/etc/stations.xml", std::string(reinterpret_cast<const char *>(data), size));
    dialog->initialise();
    const std::vector<Row> after = rows(chooser);

    eString error;
    XMLTreeParser *parser =
        parseStationFile(box.file("var/etc/stations.xml").c_str(), "x", false, error);
    if (parser) {
        check(status.getText().empty(), "a file that parses gave an error");
        int stations = 0;
        visitStations(
            parser->RootNode(), [](void *count, const char *, const char *) { ++*(int *)count; },
            &stations);
        check(static_cast<int>(after.size()) == stations, "a station is missing from the rows");
        delete parser;
    } else {
        check(status.getText().rfind("XML parse error", 0) == 0, "no parse error shown");
        check(after == before, "a file that does not parse changed the rows");
    }
    return 0;
}
