// A file of config/ that reaches back into the window: the layering check
// must refuse it.
#include "window/widget.h"
