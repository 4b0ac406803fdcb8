#include "app/remembered_settings.h"

#include <QDateTime>
#include <QDebug>
#include <QFileInfo>
#include <QSet>
#include <QSettings>
#include <QVariant>

#include <new>
#include <optional>

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

// The settings file as it was when a value's stored size could not be
// allocated (a spoiled list count): Qt reads no more of that file then and
// would fail again on every later read or write of it, so it is left alone
// until it changes.
struct FileState
{
    QDateTime modified;
    qint64 size = -1;
    bool operator==(const FileState &other) const { return modified == other.modified && size == other.size; }
};

FileState stateOf(const QSettings &settings)
{
    const QFileInfo file(settings.fileName());
    return {file.lastModified(), file.exists() ? file.size() : -1};
}

std::optional<FileState> &spoiledFile()
{
    static std::optional<FileState> spoiled;
    return spoiled;
}

bool spoiled(const QSettings &settings)
{
    return spoiledFile() && *spoiledFile() == stateOf(settings);
}

QVariant storedValue(const char *key)
{
    const QSettings settings = openSettings();
    if (spoiled(settings))
        return QVariant();
    try {
        return settings.value(QLatin1String(key));
    } catch (const std::bad_alloc &) {
        spoiledFile() = stateOf(settings);
        ignored(key, "its stored size cannot be right; the settings file is left as it is");
        return QVariant();
    }
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
    QSettings settings = openSettings();
    if (!spoiled(settings))
        settings.setValue(QLatin1String(key), value);
}

} // namespace remembered
