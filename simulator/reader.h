#ifndef TARVO_SIMULATOR_READER_H
#define TARVO_SIMULATOR_READER_H

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <functional>

#include "simulator/reader_config.h"

// The simulated reader: its configuration text, configuration password and
// firmware version, the commands it answers, and the file that keeps them.
class Reader
{
public:
    static const char factoryPassword[];
    static const char factoryFirmware[];
    static const char factoryConfig[];

    Reader();

    // Keeps the state in path: loads it, or writes the current state there
    // when the file does not exist yet.
    bool useStateFile(const QString &path, QString *error);

    void setFirmware(const QByteArray &firmware);
    // Answers every read of the configuration with key set to value, as a
    // reader whose flash gives back something else than it keeps.
    void setReadBack(const QByteArray &key, const QByteArray &value);

    const QByteArray &config() const { return settings_.config; }
    // Called after each configuration applied.
    void setOnApplied(std::function<void()> callback) { onApplied_ = std::move(callback); }

    // Carries out a command. False when the reader does not know it.
    bool answer(int32_t command, const QByteArray &request, QByteArray *reply);

    // Reads a signed configuration (from the link or a scanned code) and
    // applies it when sound; says what became of it, naming the source.
    reader_config::Verdict configure(const QByteArray &signedText, const QString &source);

    // Stores a brightness other than the one it holds, as a reader whose
    // flash kept something else than it was sent.
    void alterBrightness();

private:
    QByteArray readConfig(const QByteArray &request);
    QByteArray readVersion(const QByteArray &request);
    QByteArray writeConfig(const QByteArray &request);
    bool save(QString *error) const;

    struct Command
    {
        int32_t code;
        QByteArray (Reader::*run)(const QByteArray &request);
    };
    static const Command commands[];

    reader_config::ReaderSettings settings_;
    QByteArray firmware_;
    QByteArray readBackKey_;
    QByteArray readBackValue_;
    QString statePath_;
    std::function<void()> onApplied_;
};

#endif
