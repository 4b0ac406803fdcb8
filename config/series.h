#ifndef TARVO_CONFIG_SERIES_H
#define TARVO_CONFIG_SERIES_H

// What each reader series offers, the one table that the interlocks, the
// build and the import read.

#include "config/form_value.h"

namespace series {

// The series, in the column order of the interlocks' widget table.
enum Series { ZB, RN450, E200FK, RN310, PL, HD5000, KS, WT, Rseven, Count };

struct Facts
{
    config::Flag box;
    bool nfcPage;    // the NFC page button shows for its readers
    bool nfcEntries; // its texts carry the NFC group
    bool secondUart; // its TTL line is the reader's second UART
};

using W = config::FormValue;

inline constexpr Facts kSeries[Count] = {
    {&W::tarvo_ZB, true, true, false},     {&W::tarvo_RN450, false, false, true},
    {&W::tarvo_E200FK, true, true, false}, {&W::tarvo_RN310, false, false, true},
    {&W::tarvo_PL, true, true, false},     {&W::tarvo_HD5000, true, true, false},
    {&W::tarvo_KS, false, true, false},    {&W::tarvo_WT, false, true, false},
    {&W::tarvo_rseven, false, true, true},
};

// Whether a checked series has the fact (has is true) or lacks it (false).
inline bool checkedSeries(const config::FormValue &form, bool Facts::*fact, bool has = true)
{
    for (const Facts &facts : kSeries)
        if ((form.*facts.box) && facts.*fact == has)
            return true;
    return false;
}

} // namespace series

#endif
