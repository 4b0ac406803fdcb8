// config/ as it should be; only its library links the window.
#include "crypto/md5.h"
