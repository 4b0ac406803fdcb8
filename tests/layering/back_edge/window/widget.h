// The window.
#include "config/assembly.h"
