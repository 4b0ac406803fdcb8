#ifndef TARVO_DEVICE_DEVICE_LINK_H
#define TARVO_DEVICE_DEVICE_LINK_H

#include <cstdint>

// The program's one channel to the reader: 0 until a connect opens it, then
// kept (never closed, never opened again) until the program ends. The device
// library re-opens a broken link behind the same handle by itself.
extern intptr_t device_channel;

#endif
