// The in-band metadata parser under any blocks, with what reaches the main window's three
// labels (station name, genre, song) compared with a reading of the blocks worked out here.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "elabel.h"
#include "fuzz_box.h"
#include "quenlo_dialog.h"
#include "stream_probe.h"
#include "test_driver.h"

namespace
{
// "Key=value;" pairs: a block that does not begin with "Stream" is the title as it stands;
// otherwise each complete pair sets its key, and reading stops at the first incomplete one.
void readBlock(const std::string &block, std::string &title)
{
    if (block.compare(0, 6, "Stream") != 0) {
        title = block;
        return;
    }
    size_t at = 0;
    while (at < block.size()) {
        const size_t equals = block.find('=', at);
        if (equals == std::string::npos)
            return;
        const size_t semicolon = block.find(';', equals + 1);
        if (semicolon == std::string::npos)
            return;
        if (block.compare(at, equals - at, "StreamTitle") == 0)
            title = block.substr(equals + 1, semicolon - equals - 1);
        at = semicolon + 1;
    }
}

void check(bool holds, const char *what)
{
    if (!holds) {
        fprintf(stderr, "metadata: %s\n", what);
        abort();
    }
}

struct Bench {
    gui::TestDriver driver;
    QuenloDialog *dialog;
    StreamDecoder *run;
    StreamDecoderProbe *probe;
    std::vector<eLabel *> labels;
};

Bench &bench()
{
    static Bench *made = [] {
        FuzzBox &box = FuzzBox::instance();
        box.write("var/etc/stations.xml",
                  "<stations><station name=\"A\" url=\"http://127.0.0.1:1/\"/></stations>");
        auto *b = new Bench;
        b->dialog = new QuenloDialog();
        b->run = new StreamDecoder("http://127.0.0.1:1/", b->dialog, 8192);
        b->probe = new StreamDecoderProbe(*b->run);
        b->probe->script(false);
        // Captions and values alternate: the values are the second, fourth and sixth label.
        for (eWidget *label : b->driver.findAll("eLabel", b->dialog))
            b->labels.push_back(static_cast<eLabel *>(label));
        return b;
    }();
    return *made;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    Bench &b = bench();
    b.driver.clearRecords(); // the driver keeps every change of every label
    FuzzedDataProvider input(data, size);
    const std::string name = input.ConsumeRandomLengthString(300);
    const std::string genre = input.ConsumeRandomLengthString(300);
    b.probe->sinkWithHeaders({{"icy-name", name}, {"icy-genre", genre}});
    // The labels are set through a "%s" format, which ends at a NUL.
    const std::string shownName = name.substr(0, name.find('\0'));
    const std::string shownGenre = genre.substr(0, genre.find('\0'));

    // Blocks as the sink passes them on: C strings of at most 4080 bytes.
    std::string title = b.probe->streamTitle();
    while (input.remaining_bytes() > 0) {
        std::string block = input.ConsumeRandomLengthString(4080);
        block = block.substr(0, block.find('\0'));
        b.probe->metaData(block);
        readBlock(block, title);
        check(b.probe->streamTitle() == title, "the title kept differs");
        check(b.labels.at(1)->getText() == shownName, "the name label differs");
        check(b.labels.at(3)->getText() == shownGenre, "the genre label differs");
        check(b.labels.at(5)->getText() == title, "the song label differs");
    }
    return 0;
}
