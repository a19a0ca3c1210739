#include "settings_dialog.h"

#include <econfig.h>
#include <edebug.h>
#include <gettext.h>

#include "widgets.h"

namespace
{
const char *const minBufferKey = "/quenlora/minbuffersize";
} // namespace

QuenloSettingsDialog::QuenloSettingsDialog() : eWindow(0)
{
    downloadLimit = 100;
    eDebug("QuenloSettingsDialog::QuenloSettingsDialog - start");

    // The store holds bytes, the field shows KB; nothing stored (or 0) means 8 KB.
    minBufferSize = 0;
    eConfig::instance()->getKey(minBufferKey, minBufferSize);
    if (minBufferSize == 0)
        minBufferSize = 8;
    else
        minBufferSize = minBufferSize / 1024;

    cmove(ePoint(100, 110));
    cresize(eSize(510, 280));
    setText(_("Settings..."));

    struct {
        eLabel *&label;
        eNumber *&number;
        int y;
        const char *text;
        int maximum, digits;
        int32_t *initial;
    } rows[] = {
        {limitLabel, limitNumber, 20, _("SHOUTcast download limit:"), 300, 3, &downloadLimit},
        {bufferLabel, bufferNumber, 60, _("Minimum buffer size (KB):"), 64, 2, &minBufferSize},
    };
    for (unsigned i = 0; i < sizeof rows / sizeof rows[0]; ++i) {
        rows[i].label = makeLabel(this, 10, rows[i].y, 220, 30, rows[i].text);

        eNumber *number = new eNumber(this, 1, 1, rows[i].maximum, rows[i].digits, rows[i].initial,
                                      0, 0, 1, "eNumber");
        number->move(ePoint(240, rows[i].y));
        number->resize(eSize(50, 30));
        number->loadDeco();
        setWidgetFont(number);
        rows[i].number = number;
    }

    hintLabel = makeLabel(this, 10, 120, getClientSize().width() - 20, 30,
                          _("Press download button to download SHOUTcast playlist."));

    struct {
        eButton *&button;
        int x;
        const char *text;
        const char *colour;
        void (QuenloSettingsDialog::*slot)();
    } buttons[] = {
        {okButton, 20, _("OK"), "green", &QuenloSettingsDialog::save},
        {downloadButton, 140, _("Download"), "yellow", &QuenloSettingsDialog::download},
    };
    for (unsigned i = 0; i < sizeof buttons / sizeof buttons[0]; ++i) {
        eButton *button = makeButton(this, buttons[i].x, 210, buttons[i].text, buttons[i].colour);
        button->selected.connect(SigC::slot(*this, buttons[i].slot));
        buttons[i].button = button;
    }

    statusBar = makeStatusBar(this);

    eDebug("QuenloSettingsDialog::QuenloSettingsDialog - end");
}

QuenloSettingsDialog::~QuenloSettingsDialog()
{
    eDebug("QuenloSettingsDialog::~QuenloSettingsDialog - start/end");
}

void QuenloSettingsDialog::save()
{
    const int bytes = bufferNumber->getNumber() * 1024;
    eConfig::instance()->setKey(minBufferKey, bytes);
    reject();
}

void QuenloSettingsDialog::setStatus(const eString &text)
{
    eDebug("QuenloSettingsDialog::setStatus - start");
    statusBar->setText(text);
    eDebug("QuenloSettingsDialog::setStatus - end");
}

void QuenloSettingsDialog::setError(const char *text)
{
    eDebug("QuenloSettingsDialog::setError - start");
    eString message(text);
    setStatus(message);
    if (!message.empty())
        showErrorBox(message);
    eDebug("QuenloSettingsDialog::setError - end");
}
