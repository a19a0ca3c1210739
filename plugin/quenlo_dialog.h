// The radio's main window: the station chooser, what is playing, the buttons and the status.
#ifndef QUENLORA_PLUGIN_QUENLO_DIALOG_H
#define QUENLORA_PLUGIN_QUENLO_DIALOG_H

#include <cstdint>

#include <ebutton.h>
#include <ecombobox.h>
#include <elabel.h>
#include <estatusbar.h>
#include <estring.h>
#include <ewindow.h>
#include <xmltree.h>

#include "widgets.h"

class StreamDecoder;

class QuenloDialog : public eWindow
{
    eComboBox *stationBox;
    eLabel *titleLabel;
    eLabel *genreLabel;
    eLabel *songLabel;
    eLabel *titleValue;
    eLabel *genreValue;
    eLabel *songValue;
    eButton *playButton;
    eButton *stopButton;
    eButton *closeButton;
    eButton *settingsButton;
    eButton *minimiseButton;
    eButton *aboutButton;
    eStatusBar *statusBar;
    StreamDecoder *decoder;
    XMLTreeParser *parser;
    int32_t savedDecoderParm;

    void playStream();
    void stopStream();

    // In-process tests look at the current playback run.
    friend class StreamDecoderProbe;

    void updateSettings();
    void minimise();
    void about();

public:
    QuenloDialog();
    virtual ~QuenloDialog();

    // Reads the station file into the chooser, or reports why it cannot.
    void initialise();
    void loadStations(XMLTreeNode *root);

    void setStatus(const eString &text);
    void setError(const char *text);
    void setStreamTitle(eString &title);
    void setIcyGenre(eString &genre);
    void setIcyName(eString &name);
};

#endif
