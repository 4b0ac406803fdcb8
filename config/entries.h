#ifndef TARVO_CONFIG_ENTRIES_H
#define TARVO_CONFIG_ENTRIES_H

// Appending entries to the configuration text. Every entry carries its own
// trailing comma, so builders simply append one after another.

#include <QString>

#include "config/form_bits.h"

namespace entries {

// key=<decimal>,
inline void appendNumber(QString &text, const char *key, int value)
{
    text += QLatin1String(key);
    text += QLatin1Char('=');
    text += QString::number(value, 10);
    text += QLatin1Char(',');
}

// key=<text>, with the text copied verbatim and unquoted.
inline void appendBare(QString &text, const char *key, const QString &value)
{
    text += QLatin1String(key);
    text += QLatin1Char('=');
    text += value;
    text += QLatin1Char(',');
}

// key='<text>', with the text copied verbatim between the quotes.
inline void appendQuoted(QString &text, const char *key, const QString &value)
{
    text += QLatin1String(key);
    text += QLatin1String("='");
    text += value;
    text += QLatin1String("',");
}

// One key=<value>, entry for each checked button of a table, in table order.
template <std::size_t N>
void appendCheckedValues(QString &text, const config::FormValue &ui, const char *key,
                         const ValueButton (&table)[N])
{
    for (const ValueButton &entry : table)
        if (ui.*entry.button)
            appendNumber(text, key, entry.value);
}

} // namespace entries

#endif
