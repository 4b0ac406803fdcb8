// Feeds arbitrary texts to the simulated reader's reading of configurations:
// as a stored configuration text, as a signed configuration sent to a
// reader, and, since no fuzzer forges an HMAC, once more with the signature
// made right, so that the entries and the password change are reached too.
// Whatever the text, a refusal leaves the reader as it was and an applied
// configuration leaves a text the reader can read again.
#include <QByteArray>
#include <QCryptographicHash>
#include <QMessageAuthenticationCode>
#include <QVector>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "simulator/reader_config.h"

namespace {

using reader_config::Entry;
using reader_config::Verdict;

const QByteArray kPassword = "Tarvo#Factory#16";
// What a reader holds: bare and quoted values, a blank before a key.
const QByteArray kStoredText = "cr=1,prefix='',nl=0, ip='192.168.1.100',w_mode=1";
const int kSignatureLength = 24;

[[noreturn]] void fail(const char *what)
{
    std::fprintf(stderr, "reader_config_fuzzer: %s\n", what);
    std::abort();
}

bool sameEntries(const QVector<Entry> &a, const QVector<Entry> &b)
{
    if (a.size() != b.size())
        return false;
    for (int i = 0; i < a.size(); ++i)
        if (a[i].lead != b[i].lead || a[i].key != b[i].key || a[i].value != b[i].value)
            return false;
    return true;
}

// A stored text that reads at all reads back the same after joining.
void checkStoredText(const QByteArray &text)
{
    QVector<Entry> entries;
    if (!reader_config::parseEntries(text, &entries))
        return;
    QVector<Entry> again;
    if (!reader_config::parseEntries(reader_config::joinEntries(entries), &again) || !sameEntries(entries, again))
        fail("a stored text reads differently once joined");
}

void checkApply(const QByteArray &text, const reader_config::ReaderSettings &before)
{
    reader_config::ReaderSettings settings = before;
    const Verdict verdict = reader_config::apply(text, &settings);
    if (verdict != Verdict::Applied) {
        if (settings.config != before.config || settings.password != before.password)
            fail("a refused configuration changed the reader");
        return;
    }
    QVector<Entry> stored;
    if (!reader_config::parseEntries(settings.config, &stored))
        fail("an applied configuration left a text the reader cannot read");
}

// The text with its last 26 characters replaced by "--" and the signature
// that the key gives the part before them; empty when the text is shorter.
QByteArray resigned(const QByteArray &text, const QByteArray &key)
{
    QByteArray bare = text;
    while (bare.endsWith('\0'))
        bare.chop(1);
    if (bare.size() < kSignatureLength + 2)
        return QByteArray();
    const QByteArray enveloped = bare.left(bare.size() - kSignatureLength - 2);
    return enveloped + "--"
           + QMessageAuthenticationCode::hash(enveloped, key, QCryptographicHash::Md5).toBase64();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray text(reinterpret_cast<const char *>(data), int(size));
    checkStoredText(text);

    const reader_config::ReaderSettings reader{kStoredText, kPassword};
    checkApply(text, reader);
    const QByteArray signedText = resigned(text, kPassword);
    if (!signedText.isEmpty())
        checkApply(signedText, reader);

    // The text as what a reader holds, updated by a sound configuration.
    static const QByteArray update = resigned("___TRVO_CONFIG_V1.1.0___{cr=0,prefix='a,b',psk='x',w_mode=2}--"
                                                  + QByteArray(kSignatureLength, '.'),
                                              kPassword);
    QVector<Entry> entries;
    if (reader_config::parseEntries(text, &entries))
        checkApply(update, {text, kPassword});
    return 0;
}
