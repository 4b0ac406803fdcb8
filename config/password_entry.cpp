#include "config/password_entry.h"

namespace password_entry {

namespace {

const QLatin1String kHead(",com_passwd='");
// The Wi-Fi password, at the start of an entry.
const QLatin1String kWifiPasswordHead("psk='");

// Where the value of the text's password entry starts, or -1 without one.
// The password entry is always the last one before the closing brace, and
// the password is of fixed length, so it is found by position; a quote or
// brace inside the password cannot mislead the search, since nothing after
// the closing brace (the signature) holds a brace.
int passwordValueAt(const QString &text)
{
    const int brace = text.lastIndexOf(QLatin1Char('}'));
    const int value = brace - 1 - kLength;
    const int head = value - kHead.size();
    if (head < 0 || text.at(brace - 1) != QLatin1Char('\'')
        || text.midRef(head, kHead.size()) != kHead)
        return -1;
    return value;
}

// Each Wi-Fi password entry's value as asterisks. A quoted value ends at the
// first quote before a comma; a look-alike inside another value is masked
// too, and ends before the real entry starts.
void maskWifiPasswords(QString &text)
{
    for (int head = text.indexOf(kWifiPasswordHead); head >= 0;
         head = text.indexOf(kWifiPasswordHead, head + 1)) {
        if (head > 0 && text.at(head - 1) != QLatin1Char(',') && text.at(head - 1) != QLatin1Char('{'))
            continue;
        const int value = head + kWifiPasswordHead.size();
        int end = text.indexOf(QLatin1String("',"), value);
        if (end < 0)
            end = text.size();
        text.replace(value, end - value, QString(end - value, QLatin1Char('*')));
    }
}

} // namespace

QString entry(const QString &password)
{
    return QString(kHead) + password + QLatin1Char('\'');
}

QString configTextForLog(const QString &text)
{
    QString masked = text;
    const int value = passwordValueAt(text);
    if (value >= 0)
        masked.replace(value, kLength, QString(kLength, QLatin1Char('*')));
    maskWifiPasswords(masked);
    return masked;
}

bool carriesPassword(const QString &text)
{
    return passwordValueAt(text) >= 0;
}

} // namespace password_entry
