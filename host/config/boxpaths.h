// Setting up where the box's paths go (see boxpath.h for the lookup).
#ifndef QUENLORA_CONFIG_BOXPATHS_H
#define QUENLORA_CONFIG_BOXPATHS_H

#include <string>

namespace boxpaths
{

// The audio device's box path, which maps to the device given here and not under the root.
inline const char *const audioDevice = "/dev/sound/dsp";

// Every other absolute box path maps below root; "" maps each path to itself.
void setRoot(const std::string &root);
const std::string &root();
// Where the audio device goes; "" keeps /dev/sound/dsp.
void setAudioDevice(const std::string &device);

} // namespace boxpaths

#endif
