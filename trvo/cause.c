#include "trvo/cause.h"

#include <errno.h>

static const struct
{
    int error;
    enum trvo_cause cause;
} cause_table[] = {
    {ENOENT, TRVO_CAUSE_NO_PORT},
    {ENODEV, TRVO_CAUSE_NO_PORT},
    {ENXIO, TRVO_CAUSE_NO_PORT},
    {ENOTDIR, TRVO_CAUSE_NO_PORT},
    {ENOTTY, TRVO_CAUSE_NOT_A_PORT},
    {EACCES, TRVO_CAUSE_PERMISSION},
    {EPERM, TRVO_CAUSE_PERMISSION},
    {EROFS, TRVO_CAUSE_PERMISSION},
    {EBUSY, TRVO_CAUSE_BUSY},
    {EWOULDBLOCK, TRVO_CAUSE_BUSY},
    {ECONNREFUSED, TRVO_CAUSE_REFUSED},
    {ETIMEDOUT, TRVO_CAUSE_TIMEOUT},
    {EHOSTUNREACH, TRVO_CAUSE_UNREACHABLE},
    {ENETUNREACH, TRVO_CAUSE_UNREACHABLE},
    {EHOSTDOWN, TRVO_CAUSE_UNREACHABLE},
    {ENETDOWN, TRVO_CAUSE_UNREACHABLE},
    {EADDRNOTAVAIL, TRVO_CAUSE_UNREACHABLE},
    {EINVAL, TRVO_CAUSE_SETTING},
};

enum trvo_cause trvo_cause_of_errno(int error)
{
    for (size_t i = 0; i < sizeof cause_table / sizeof cause_table[0]; ++i) {
        if (cause_table[i].error == error)
            return cause_table[i].cause;
    }
    return TRVO_CAUSE_SYSTEM;
}
