#ifndef TARVO_TESTS_SCRIPT_FIXTURE_H
#define TARVO_TESTS_SCRIPT_FIXTURE_H

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstdio>
#include <memory>
#include <unistd.h>

#include "script/script_bridge.h"

// The bridge reads ./update_config.lua; a test case works in a fresh
// temporary directory holding its own script and returns to the previous
// working directory afterwards.
class ScriptDir
{
public:
    ScriptDir() : previous(QDir::currentPath()) { QDir::setCurrent(dir.path()); }
    ~ScriptDir() { QDir::setCurrent(previous); }
    ScriptDir(const ScriptDir &) = delete;
    ScriptDir &operator=(const ScriptDir &) = delete;

    bool write(const QByteArray &source) const
    {
        QFile file(dir.filePath("update_config.lua"));
        return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(source) == source.size();
    }

    bool copyFrom(const QString &path) const { return QFile::copy(path, dir.filePath("update_config.lua")); }

private:
    QString previous;
    QTemporaryDir dir;
};

// Redirects stdout or stderr (at the descriptor level, so C and C++ writes
// alike) into a temporary file until text() or destruction.
class StreamCapture
{
public:
    explicit StreamCapture(FILE *stream) : stream(stream), fd(fileno(stream)), file(std::tmpfile())
    {
        std::fflush(stream);
        saved = dup(fd);
        dup2(fileno(file), fd);
    }
    ~StreamCapture()
    {
        restore();
        std::fclose(file);
    }
    StreamCapture(const StreamCapture &) = delete;
    StreamCapture &operator=(const StreamCapture &) = delete;

    // Ends the capture and gives what was written meanwhile.
    QByteArray text()
    {
        restore();
        QByteArray captured;
        std::rewind(file);
        char chunk[4096];
        size_t n;
        while ((n = std::fread(chunk, 1, sizeof chunk, file)) > 0)
            captured.append(chunk, int(n));
        return captured;
    }

private:
    void restore()
    {
        if (saved < 0)
            return;
        std::fflush(stream);
        dup2(saved, fd);
        close(saved);
        saved = -1;
    }

    FILE *stream;
    int fd;
    FILE *file;
    int saved = -1;
};

// The program routes the bridge's lines to its debug log; these tests read
// them as lines on standard error.
inline void bridgeLineToStandardError(const char *line)
{
    std::fprintf(stderr, "%s\n", line);
}
inline const bool kBridgeLogsToStandardError = (script_set_log_sink(bridgeLineToStandardError), true);

using ScriptState = std::unique_ptr<lua_State, decltype(&script_close)>;

inline ScriptState openScript()
{
    return ScriptState(script_open(), &script_close);
}

#endif
