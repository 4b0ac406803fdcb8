// A file of config/ that reaches back into the window: the check must
// refuse it.
#include "crypto/md5.h"
#include "window/widget.h"
