#include "settings_dialog.h"

#include <econfig.h>
#include <edebug.h>
#include <emessagebox.h>
#include <gettext.h>

#include "quenlo_dialog.h"

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
        eLabel *label = new eLabel(this, 0, 0, "eLabel");
        label->move(ePoint(10, rows[i].y));
        label->resize(eSize(220, 30));
        label->setText(rows[i].text);
        label->loadDeco();
        setWidgetFont(label);
        rows[i].label = label;

        eNumber *number = new eNumber(this, 1, 1, rows[i].maximum, rows[i].digits, rows[i].initial,
                                      0, 0, 1, "eNumber");
        number->move(ePoint(240, rows[i].y));
        number->resize(eSize(50, 30));
        number->loadDeco();
        setWidgetFont(number);
        rows[i].number = number;
    }

    hintLabel = new eLabel(this, 0, 0, "eLabel");
    hintLabel->move(ePoint(10, 120));
    hintLabel->resize(eSize(getClientSize().width() - 20, 30));
    hintLabel->setText(_("Press download button to download SHOUTcast playlist."));
    hintLabel->loadDeco();
    setWidgetFont(hintLabel);

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
        eButton *button = new eButton(this, 0, 1, "eButton");
        button->setText(buttons[i].text);
        button->move(ePoint(buttons[i].x, 210));
        button->resize(eSize(110, 30));
        button->setShortcut(buttons[i].colour);
        button->setShortcutPixmap(buttons[i].colour);
        button->loadDeco();
        setWidgetFont(button);
        button->selected.connect(SigC::slot(*this, buttons[i].slot));
        buttons[i].button = button;
    }

    statusBar = new eStatusBar(this, "eStatusBar");
    statusBar->setFlags(128);
    statusBar->move(ePoint(0, getClientSize().height() - 30));
    statusBar->resize(eSize(getClientSize().width(), 30));
    statusBar->loadDeco();

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
    if (!message.empty()) {
        eMessageBox box(message, _("Error!"), 129, 1, 0);
        box.show();
        box.exec();
        box.hide();
    }
    eDebug("QuenloSettingsDialog::setError - end");
}
