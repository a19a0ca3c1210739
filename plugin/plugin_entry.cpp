#include <plugin.h>

#include "quenlo_dialog.h"

extern "C" int plugin_exec(PluginParam *)
{
    QuenloDialog dialog;
    dialog.show();
    int result = dialog.exec();
    dialog.hide();
    return result;
}
