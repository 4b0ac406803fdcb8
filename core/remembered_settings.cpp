#include "core/remembered_settings.h"

#include <QDebug>
#include <QFile>
#include <QSet>
#include <QSettings>
#include <QStandardPaths>
#include <QVariant>

namespace {

QSettings openSettings()
{
    return QSettings(QStringLiteral("Tarvo"), QStringLiteral("tarvo-config"));
}

// Says what was ignored, once a run for each key.
void ignored(const char *key, const char *why)
{
    static QSet<QByteArray> told;
    if (told.contains(key))
        return;
    told.insert(key);
    qWarning("settings: %s ignored: %s", key, why);
}

// Where QSettings keeps the file on this desktop.
QString settingsFilePath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
           + QStringLiteral("/Tarvo/tarvo-config.conf");
}

// The digit's value, or -1 when it is none in that base.
int digitIn(QChar c, uint base)
{
    const ushort u = c.toLower().unicode();
    const int value = u >= '0' && u <= '9' ? u - '0' : u >= 'a' && u <= 'f' ? u - 'a' + 10 : -1;
    return value < int(base) ? value : -1;
}

// The file's text as Qt's reading of it unescapes it (\x and octal codes,
// one-letter escapes, unknown escapes and quotes dropped): enough to see
// what its values turn into, however they are spelled.
QString unescaped(const QString &text)
{
    QString plain;
    for (int i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == QLatin1Char('"'))
            continue;
        if (c != QLatin1Char('\\') || i + 1 == text.size()) {
            plain += c;
            continue;
        }
        const QChar escaped = text.at(++i);
        const bool hex = escaped == QLatin1Char('x');
        const bool octal = escaped >= QLatin1Char('0') && escaped <= QLatin1Char('7');
        if (!hex && !octal) {
            // Qt keeps what its escapes stand for and drops any other.
            const int known = QStringLiteral("abfnrtv'\"\\?").indexOf(escaped);
            if (known >= 0)
                plain += QLatin1String("\a\b\f\n\r\t\v'\"\\?").at(known);
            continue;
        }
        const uint base = hex ? 16 : 8;
        uint code = hex ? 0 : uint(escaped.digitValue());
        for (int digit; i + 1 < text.size() && (digit = digitIn(text.at(i + 1), base)) >= 0; ++i)
            code = code * base + uint(digit);
        plain += QChar(ushort(code));
    }
    return plain;
}

// Whether the file holds serialized objects, which this program never
// writes: Qt reads their sizes from the file unchecked, and a spoiled one
// makes it throw std::bad_alloc while the file opens, which it does not
// survive. Such a file is neither read nor written.
bool holdsSerializedObjects()
{
    QFile file(settingsFilePath());
    if (!file.open(QIODevice::ReadOnly))
        return false;
    // Read whole: Qt reads on past a NUL byte too.
    const QByteArray bytes = file.readAll();
    const QString text = unescaped(QString::fromUtf8(bytes.constData(), bytes.size()));
    return text.contains(QLatin1String("@Variant(")) || text.contains(QLatin1String("@DateTime("));
}

bool spoiled(const char *key)
{
    if (!holdsSerializedObjects())
        return false;
    ignored(key, "the settings file holds serialized objects, which this program never writes; "
                 "the file is left as it is");
    return true;
}

QVariant storedValue(const char *key)
{
    if (spoiled(key))
        return QVariant();
    return openSettings().value(QLatin1String(key));
}

} // namespace

namespace remembered {

namespace {

QString boundedText(const char *key, const QVariant &value)
{
    if (value.isNull())
        return QString();
    if (value.type() != QVariant::String) {
        ignored(key, "not a text");
        return QString();
    }
    if (value.toString().size() > kMostChars) {
        ignored(key, "longer than any path or link");
        return QString();
    }
    return value.toString();
}

} // namespace

QStringList texts(const char *key, int most)
{
    const QVariant value = storedValue(key);
    // A list of one is stored as a text.
    if (value.type() != QVariant::StringList) {
        const QString one = boundedText(key, value);
        return one.isEmpty() ? QStringList() : QStringList{one};
    }
    const QStringList stored = value.toStringList();
    if (stored.size() > most)
        ignored(key, "more entries than the program keeps; the first are taken");
    QStringList taken;
    for (const QString &entry : stored.mid(0, most)) {
        if (entry.size() > kMostChars)
            ignored(key, "an entry longer than any path");
        else if (!entry.isEmpty())
            taken << entry;
    }
    return taken;
}

QString text(const char *key)
{
    return boundedText(key, storedValue(key));
}

void store(const char *key, const QVariant &value)
{
    if (spoiled(key))
        return;
    QSettings settings = openSettings();
    settings.setValue(QLatin1String(key), value);
}

} // namespace remembered
