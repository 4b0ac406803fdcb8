#ifndef TARVO_TRVO_CAUSE_H
#define TARVO_TRVO_CAUSE_H

/* How the system's error numbers read as causes of a failed open. */

#include "trvo/trvo.h"

#ifdef __cplusplus
extern "C" {
#endif

enum trvo_cause trvo_cause_of_errno(int error);

#ifdef __cplusplus
}
#endif

#endif
