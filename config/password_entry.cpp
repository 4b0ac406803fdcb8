#include "config/password_entry.h"

#include <QCoreApplication>
#include <QRegularExpression>
#include <QStringList>
#include <algorithm>

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
    if (head < 0 || text.at(brace - 1) != QLatin1Char('\'') || text.midRef(head, kHead.size()) != kHead)
        return -1;
    return value;
}

// An entry of a key whose value is secret: at the text's start or after a
// comma or brace, blanks allowed around the key and the equals sign. A
// quoted value ends at the first quote before a comma, a brace or the end,
// one never closed at the next comma; a look-alike inside another value is
// masked too.
QRegularExpression secretEntry(const char *key)
{
    return QRegularExpression(
        QStringLiteral(R"((?:^|[,{])\s*%1\s*=\s*(?:'(.*?)'(?=\s*(?:[,}]|$))|([^,}]*)))").arg(QLatin1String(key)));
}

// Each value of the key's entries replaced by what `hide` makes of it.
void replaceValues(QString &text, const char *key, QString (*hide)(const QString &))
{
    const QRegularExpression entry = secretEntry(key);
    for (int from = 0;;) {
        const QRegularExpressionMatch match = entry.match(text, from);
        if (!match.hasMatch())
            return;
        const int group = match.capturedStart(1) >= 0 ? 1 : 2;
        const QString hidden = hide(match.captured(group));
        text.replace(match.capturedStart(group), match.capturedLength(group), hidden);
        from = match.capturedStart(group) + hidden.size();
    }
}

QString asterisks(const QString &value)
{
    return QString(value.size(), QLatin1Char('*'));
}

// Query parameter names that carry a password or a token.
const char *const kSecretParameters[] = {"pass", "pwd", "token", "secret", "auth", "key"};

bool secretParameter(const QString &name)
{
    for (const char *part : kSecretParameters)
        if (name.contains(QLatin1String(part), Qt::CaseInsensitive))
            return true;
    return false;
}

QString withoutSecretParameters(const QString &query)
{
    QStringList parameters = query.split(QLatin1Char('&'));
    for (QString &parameter : parameters) {
        const int equals = parameter.indexOf(QLatin1Char('='));
        if (equals > 0 && secretParameter(parameter.left(equals)))
            parameter = parameter.left(equals + 1) + QStringLiteral("***");
    }
    return parameters.join(QLatin1Char('&'));
}

} // namespace

QString addressWithoutCredentials(const QString &address)
{
    const int scheme = address.indexOf(QLatin1String("://"));
    const int host = scheme < 0 ? 0 : scheme + 3;
    int hostEnd = address.size();
    for (const QChar end : {QLatin1Char('/'), QLatin1Char('?'), QLatin1Char('#')}) {
        const int at = address.indexOf(end, host);
        if (at >= 0)
            hostEnd = std::min(hostEnd, at);
    }
    QString stripped = address;
    const int query = address.indexOf(QLatin1Char('?'), hostEnd);
    if (query >= 0) {
        const int fragment = address.indexOf(QLatin1Char('#'), query);
        const int queryEnd = fragment < 0 ? address.size() : fragment;
        stripped.replace(query + 1, queryEnd - query - 1,
                         withoutSecretParameters(address.mid(query + 1, queryEnd - query - 1)));
    }
    // The user name stays: it tells servers apart, and is no secret.
    const int at = address.lastIndexOf(QLatin1Char('@'), hostEnd - 1);
    const int colon = at < host ? -1 : address.indexOf(QLatin1Char(':'), host);
    if (colon >= 0 && colon < at)
        stripped.remove(colon, at - colon);
    return stripped;
}

const char *signingPasswordProblem(const QString &password)
{
    if (password.size() != kLength)
        return QT_TRANSLATE_NOOP("config", "配置密码的长度需要为16个字符");
    if (!std::all_of(password.begin(), password.end(), [](QChar c) { return c.unicode() <= 0xff; }))
        return QT_TRANSLATE_NOOP("config", "配置密码只能包含 Latin-1 字符（西文字母、数字和符号）");
    return nullptr;
}

const char *newPasswordProblem(const QString &password)
{
    if (password.size() != kLength)
        return QT_TRANSLATE_NOOP("config", "新密码的长度需要为16个字符");
    if (!std::all_of(password.begin(), password.end(),
                     [](QChar c) { return c.unicode() >= 0x20 && c.unicode() <= 0x7e; }))
        return QT_TRANSLATE_NOOP("config", "新密码只能包含英文字母、数字、空格和英文符号");
    return nullptr;
}

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
    replaceValues(masked, "psk", asterisks);
    replaceValues(masked, "haddr", addressWithoutCredentials);
    return masked;
}

bool holdsSecret(const QString &text)
{
    return configTextForLog(text) != text;
}

bool carriesPassword(const QString &text)
{
    return passwordValueAt(text) >= 0;
}

} // namespace password_entry
