// A playback run in a test box whose decoder and connection a test controls.
#ifndef QUENLORA_TESTS_RUN_FIXTURE_H
#define QUENLORA_TESTS_RUN_FIXTURE_H

#include <memory>
#include <string>
#include <vector>

#include "boxpaths.h"
#include "dialog_fixture.h"
#include "stream_probe.h"

class RunTest : public DialogTest
{
protected:
    RunTest() { boxpaths::setAudioDevice(box.write("dsp.pcm", "")); }
    ~RunTest() override
    {
        probe.reset();
        run.reset();
        boxpaths::setAudioDevice("");
    }
    void start(int minBuffer, bool device = true, bool connection = true)
    {
        if (!device)
            boxpaths::setAudioDevice(box.file("missing/dsp"));
        writeStations("<stations><station name=\"A\" url=\"http://127.0.0.1:1/\"/></stations>");
        makeDialog();
        run = std::make_unique<StreamDecoder>("http://127.0.0.1:1/", dialog.get(), minBuffer);
        probe = std::make_unique<StreamDecoderProbe>(*run);
        decoder = &probe->script(connection);
        driver.clearRecords();
    }
    std::vector<std::string> statuses() const { return driver.textsOf(statusBar()); }

    testing_support::LogCapture log;
    std::unique_ptr<StreamDecoder> run;
    std::unique_ptr<StreamDecoderProbe> probe;
    ScriptedDecoder *decoder = nullptr;
};

#endif
