#include "quenlo_dialog.h"

#include <decoder.h>
#include <edebug.h>
#include <emessagebox.h>
#include <gettext.h>

#include "stream_decoder.h"

namespace
{
// The About box's body; not translated. The project has no web home of its own yet, so the
// addresses are in the reserved .example domain rather than someone else's.
const char *const aboutText = "Quenlora v1.0\n"
                              "\n"
                              "Author: quenlora-team\n"
                              "Home: https://quenlora.example\n"
                              "Support: https://quenlora.example/support";
} // namespace

QuenloDialog::QuenloDialog() : eWindow(0)
{
    decoder = 0;
    parser = 0;
    eDebug("QuenloDialog::QuenloDialog - start");

    cmove(ePoint(100, 110));
    cresize(eSize(510, 280));
    setText(_("Quenlora v1.0..."));

    stationBox = new eComboBox(this, 4, 0, 1, "eComboBox");
    stationBox->move(ePoint(10, 10));
    stationBox->resize(eSize(getClientSize().width() - 20, 30));
    stationBox->loadDeco();
    setWidgetFont(stationBox);

    struct {
        eLabel *&label;
        int x, y, width;
        const char *text;
    } labels[] = {
        {titleLabel, 10, 80, 110, _("Stream Title:")},  {titleValue, 130, 80, 370, _("None")},
        {genreLabel, 10, 100, 110, _("Stream Genre:")}, {genreValue, 130, 100, 370, _("None")},
        {songLabel, 10, 120, 110, _("Current Song:")},  {songValue, 130, 120, 370, _("None")},
    };
    for (unsigned i = 0; i < sizeof labels / sizeof labels[0]; ++i)
        labels[i].label =
            makeLabel(this, labels[i].x, labels[i].y, labels[i].width, 35, labels[i].text);

    struct {
        eButton *&button;
        int x;
        const char *text;
        const char *colour;
        bool hidden;
        void (QuenloDialog::*slot)();
    } buttons[] = {
        {playButton, 20, _("Play"), "green", false, &QuenloDialog::playStream},
        {stopButton, 140, _("Stop"), "red", true, &QuenloDialog::stopStream},
        {closeButton, 140, _("Close"), "red", false, 0},
        {settingsButton, 260, _("Settings"), "yellow", false, &QuenloDialog::updateSettings},
        {minimiseButton, 260, _("Minimise"), "yellow", true, &QuenloDialog::minimise},
        {aboutButton, 380, _("About"), "blue", false, &QuenloDialog::about},
    };
    for (unsigned i = 0; i < sizeof buttons / sizeof buttons[0]; ++i) {
        eButton *button = makeButton(this, buttons[i].x, 210, buttons[i].text, buttons[i].colour);
        if (buttons[i].hidden)
            button->hide();
        if (buttons[i].slot)
            button->selected.connect(SigC::slot(*this, buttons[i].slot));
        else
            button->selected.connect(SigC::slot(*this, &eWidget::reject));
        buttons[i].button = button;
    }

    statusBar = makeStatusBar(this);

    savedDecoderParm = Decoder::parms.apid;
    Decoder::parms.apid = 8190;
    Decoder::Set();

    initialise();

    stationBox->setCurrent(0, false);
    setFocus(stationBox);
    eDebug("QuenloDialog::QuenloDialog - end");
}

QuenloDialog::~QuenloDialog()
{
    if (parser)
        delete parser;
    if (decoder)
        delete decoder;
    Decoder::parms.apid = savedDecoderParm;
    Decoder::Set();
    eDebug("QuenloDialog::~QuenloDialog - start/end");
}

void QuenloDialog::setStatus(const eString &text)
{
    eDebug("QuenloDialog::setStatus - start");
    statusBar->setText(text);
    eDebug("QuenloDialog::setStatus - end");
}

void QuenloDialog::setError(const char *text)
{
    eDebug("QuenloDialog::setError - start");
    eString message(text);
    setStatus(message);
    if (!message.empty())
        showErrorBox(message);
    eDebug("QuenloDialog::setError - end");
}

void QuenloDialog::setStreamTitle(eString &title)
{
    eString text;
    text.sprintf("%s", title.c_str());
    songValue->setText(text);
}

void QuenloDialog::setIcyGenre(eString &genre)
{
    eString text;
    text.sprintf("%s", genre.c_str());
    genreValue->setText(text);
}

void QuenloDialog::setIcyName(eString &name)
{
    eString text;
    text.sprintf("%s", name.c_str());
    titleValue->setText(text);
}

void QuenloDialog::about()
{
    eMessageBox box(aboutText, _("About"), 17, 1, 0);
    box.cmove(ePoint(160, 130));
    box.show();
    box.exec();
    box.hide();
}
