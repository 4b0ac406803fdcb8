#include "config/password_entry.h"

namespace password_entry {

namespace {

const QLatin1String kHead(",com_passwd='");

} // namespace

QString entry(const QString &password)
{
    return QString(kHead) + password + QLatin1Char('\'');
}

QString configTextForLog(const QString &text)
{
    // The password entry is always the last one before the closing brace,
    // and the password is of fixed length, so it is found by position; a
    // quote or brace inside the password cannot mislead the search, since
    // nothing after the closing brace (the signature) holds a brace.
    const int brace = text.lastIndexOf(QLatin1Char('}'));
    const int value = brace - 1 - kLength;
    const int head = value - kHead.size();
    if (head < 0 || text.at(brace - 1) != QLatin1Char('\'')
        || text.midRef(head, kHead.size()) != kHead)
        return text;

    QString masked = text;
    masked.replace(value, kLength, QString(kLength, QLatin1Char('*')));
    return masked;
}

} // namespace password_entry
