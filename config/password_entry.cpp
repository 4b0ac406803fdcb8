#include "config/password_entry.h"

namespace password_entry {

namespace {

const QLatin1String kHead(",com_passwd='");

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

} // namespace

QString entry(const QString &password)
{
    return QString(kHead) + password + QLatin1Char('\'');
}

QString configTextForLog(const QString &text)
{
    const int value = passwordValueAt(text);
    if (value < 0)
        return text;

    QString masked = text;
    masked.replace(value, kLength, QString(kLength, QLatin1Char('*')));
    return masked;
}

bool carriesPassword(const QString &text)
{
    return passwordValueAt(text) >= 0;
}

} // namespace password_entry
