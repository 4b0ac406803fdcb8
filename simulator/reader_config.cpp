#include "simulator/reader_config.h"

#include <algorithm>

#include <QCryptographicHash>
#include <QMessageAuthenticationCode>
#include <QString>

namespace reader_config {
namespace {

const QByteArray envelopeHead = "___TRVO_CONFIG_V1.1.0___{";
const QByteArray envelopeTail = "}--";
const int signatureLength = 24; // Base64 of 16 bytes

bool isKeyChar(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
}

int skipBlanks(const QByteArray &text, int pos)
{
    while (pos < text.size() && text.at(pos) == ' ')
        ++pos;
    return pos;
}

// Whether an entry ("key=") or the end of the text starts at pos.
bool entryOrEndAt(const QByteArray &text, int pos)
{
    if (pos == text.size())
        return true;
    pos = skipBlanks(text, pos);
    const int keyStart = pos;
    while (pos < text.size() && isKeyChar(text.at(pos)))
        ++pos;
    return pos > keyStart && pos < text.size() && text.at(pos) == '=';
}

// The index of the quote that closes a value opened at open, or -1.
int closingQuote(const QByteArray &text, int open)
{
    for (int q = text.indexOf('\'', open + 1); q >= 0; q = text.indexOf('\'', q + 1)) {
        if (q + 1 == text.size() || (text.at(q + 1) == ',' && entryOrEndAt(text, q + 2)))
            return q;
    }
    return -1;
}

} // namespace

bool parseEntries(const QByteArray &text, QVector<Entry> *entries)
{
    entries->clear();
    int pos = 0;
    while (pos < text.size()) {
        Entry entry;
        const int leadStart = pos;
        pos = skipBlanks(text, pos);
        entry.lead = text.mid(leadStart, pos - leadStart);
        const int keyStart = pos;
        while (pos < text.size() && isKeyChar(text.at(pos)))
            ++pos;
        if (pos == keyStart || pos == text.size() || text.at(pos) != '=')
            return false;
        entry.key = text.mid(keyStart, pos - keyStart);
        ++pos;

        int end;
        if (pos < text.size() && text.at(pos) == '\'') {
            const int close = closingQuote(text, pos);
            if (close < 0)
                return false;
            end = close + 1;
        } else {
            end = text.indexOf(',', pos);
            if (end < 0)
                end = text.size();
        }
        entry.value = text.mid(pos, end - pos);
        entries->append(entry);
        pos = end;
        if (pos < text.size())
            ++pos; // the comma
    }
    return true;
}

QByteArray joinEntries(const QVector<Entry> &entries)
{
    QByteArray text;
    for (const Entry &entry : entries) {
        if (!text.isEmpty())
            text += ',';
        text += entry.lead + entry.key + '=' + entry.value;
    }
    return text;
}

const char *describe(Verdict verdict)
{
    switch (verdict) {
    case Verdict::Applied:
        return "applied";
    case Verdict::NotEnveloped:
        return "not an enveloped, signed configuration";
    case Verdict::BadSignature:
        return "bad signature";
    case Verdict::BadEntries:
        return "malformed entries";
    case Verdict::BadPassword:
        return "com_passwd is not 16 characters in quotes";
    }
    return "";
}

Verdict apply(const QByteArray &signedText, ReaderSettings *settings)
{
    QByteArray text = signedText;
    while (text.endsWith('\0')) // a sender may include the C terminator
        text.chop(1);
    const int minimum = envelopeHead.size() + envelopeTail.size() + signatureLength;
    if (text.size() < minimum || !text.startsWith(envelopeHead)
        || text.mid(text.size() - signatureLength - envelopeTail.size(), envelopeTail.size()) != envelopeTail)
        return Verdict::NotEnveloped;

    const QByteArray enveloped = text.left(text.size() - signatureLength - 2); // through "}"
    const QByteArray signature = text.right(signatureLength);
    const QByteArray expected =
        QMessageAuthenticationCode::hash(enveloped, settings->password, QCryptographicHash::Md5).toBase64();
    if (signature != expected)
        return Verdict::BadSignature;

    QVector<Entry> incoming;
    QVector<Entry> stored;
    const QByteArray body = enveloped.mid(envelopeHead.size(), enveloped.size() - envelopeHead.size() - 1);
    if (!parseEntries(body, &incoming) || !parseEntries(settings->config, &stored))
        return Verdict::BadEntries;

    QByteArray password = settings->password;
    for (const Entry &entry : incoming) {
        if (entry.key == "com_passwd") {
            const QString value = QString::fromUtf8(entry.value);
            if (value.size() != passwordLength + 2 || !value.startsWith('\'') || !value.endsWith('\''))
                return Verdict::BadPassword;
            // The tool keys its signature with the Latin-1 bytes of the password.
            password = value.mid(1, passwordLength).toLatin1();
            continue;
        }
        auto same =
            std::find_if(stored.begin(), stored.end(), [&](const Entry &e) { return e.key == entry.key; });
        if (same != stored.end())
            same->value = entry.value;
        else
            stored.append(entry);
    }
    settings->config = joinEntries(stored);
    settings->password = password;
    return Verdict::Applied;
}

} // namespace reader_config
