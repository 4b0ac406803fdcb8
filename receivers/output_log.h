#ifndef TARVO_RECEIVERS_OUTPUT_LOG_H
#define TARVO_RECEIVERS_OUTPUT_LOG_H

// What the output test has received, as a table the window shows: each
// message split into the form's prefix, the data, the suffix and the
// terminator, with what is missing said. The newest messages are kept up
// to a count and a size, the older ones dropped and counted.

#include <QAbstractTableModel>
#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>
#include <QTimer>

#include <deque>

#include "receivers/output_test_settings.h"

namespace output_test {

struct Message
{
    QDateTime time;   // in UTC from the receivers: the local time zone is looked up only for what is shown
    QString source;   // the peer's address, the port's name, or the keyboard
    QByteArray bytes; // as received, plain data: shown, never run
    QString details;  // what else there is to see: an HTTP request's headers, a typist's pace
};

// Where the affixes of the configuration stand in a message.
struct AffixCheck
{
    bool card = false;        // the NFC affixes fit it better than the scan ones
    int prefixLength = 0;     // bytes at the start that are the prefix
    int suffixLength = 0;     // bytes before the terminator that are the suffix
    int terminatorLength = 0; // bytes at the end that are the terminator
    QByteArray missingPrefix; // expected but not there
    QByteArray missingSuffix;
    QByteArray missingTerminator;
};

AffixCheck checkAffixes(const QByteArray &message, const Settings &settings);

// Bytes as one line of text: CR, LF and tab as ⏎ ␊ ⇥, the other controls
// and format characters as visibleText escapes them, what is not UTF-8 as �.
QString bytesShown(const QByteArray &bytes);

class OutputLog : public QAbstractTableModel
{
    Q_OBJECT

public:
    enum Column { Time, Source, Prefix, Data, Suffix, End, Hex, ColumnCount };
    // What a row is, and where a cell of an affix stands, for the window to
    // mark as it likes.
    enum class Kind { Code, Heartbeat, Note };
    enum class AffixMark { NoneExpected, Found, Missing };
    enum Role {
        KindRole = Qt::UserRole, // Kind, in every cell
        AffixMarkRole            // AffixMark, in the cells of the prefix, suffix and terminator of a code
    };
    static constexpr int kMessageLimit = 10000;
    // The memory the kept messages may hold together (their bytes, sources
    // and details), whatever their number.
    static constexpr qint64 kByteLimit = 16 * 1024 * 1024;

    explicit OutputLog(QObject *parent = nullptr);

    void setSettings(const Settings &settings) { settings_ = settings; }

    // Takes a message in; the view sees it with the others of the moment.
    void append(const Message &message);
    // Takes in what the receiver did or saw besides messages (a peer refused
    // or dropped, a request cut off, a restart), as a row among them.
    void note(const QString &text);
    void clear();

    int dropped() const { return dropped_; }
    int heartbeats() const { return heartbeats_; }
    // When the last heartbeat came; null before the first.
    QDateTime lastHeartbeat() const { return lastHeartbeat_; }

    // One message as a line of text for the clipboard and files, and in full.
    QString line(int row) const;
    QString details(int row) const;

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

signals:
    // Messages came in or went; the counts may have changed.
    void changed();

private:
    struct Row
    {
        Message message;
        AffixCheck check;
        Kind kind;
    };
    void add(Row row);
    // What a row holds in memory, its texts included.
    static qint64 rowBytes(const Row &row);
    void takePending();
    QString cellText(const Row &row, int column) const;
    static QVariant affixMark(const Row &row, int column);

    Settings settings_;
    std::deque<Row> rows_;
    std::deque<Row> pending_;
    qint64 storedBytes_ = 0;
    qint64 pendingBytes_ = 0;
    QTimer batch_;
    int dropped_ = 0;
    int heartbeats_ = 0;
    QDateTime lastHeartbeat_;
};

} // namespace output_test

#endif
