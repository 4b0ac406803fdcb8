#include "outputtest/keyboard_capture.h"

#include <QKeyEvent>
#include <QStringList>

#include "receivers/output_log.h"

namespace {

// A keyboard reader types a code in one go; this long a pause ends it.
constexpr int kPauseMs = 1000;
// No code grows beyond this without an end.
constexpr int kCodeBytes = 4096;

} // namespace

KeyboardCapture::KeyboardCapture(QWidget *parent) : QLineEdit(parent)
{
    setPlaceholderText(tr("点这里，再扫码或刷卡"));
    pause.setSingleShot(true);
    pause.setInterval(kPauseMs);
    connect(&pause, &QTimer::timeout, this, [this] { finish(QByteArray()); });
}

// Tab would move the focus away before keyPressEvent sees it.
bool KeyboardCapture::event(QEvent *event)
{
    if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent *>(event)->key() == Qt::Key_Tab) {
        keyPressEvent(static_cast<QKeyEvent *>(event));
        return true;
    }
    return QLineEdit::event(event);
}

void KeyboardCapture::keyPressEvent(QKeyEvent *event)
{
    const int key = event->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter)
        return finish("\r");
    if (key == Qt::Key_Tab)
        return finish("\t");
    const QByteArray text = event->text().toUtf8();
    if (text.isEmpty() || text.at(0) < ' ')
        return;
    if (!pending.isEmpty())
        gaps << sinceLastKey.elapsed();
    sinceLastKey.start();
    pending += text;
    setText(output_test::bytesShown(pending));
    if (pending.size() >= kCodeBytes)
        return finish(QByteArray());
    pause.start();
}

void KeyboardCapture::finish(const QByteArray &terminator)
{
    pause.stop();
    if (pending.isEmpty() && terminator.isEmpty())
        return;
    QString details;
    if (!gaps.isEmpty()) {
        QStringList shown;
        qint64 total = 0;
        for (qint64 gap : gaps) {
            shown << QString::number(gap);
            total += gap;
        }
        details =
            tr("按键间隔（毫秒）：%1；平均 %2 毫秒").arg(shown.join(QLatin1Char(' '))).arg(total / gaps.size());
    }
    const QByteArray bytes = pending + terminator;
    pending.clear();
    gaps.clear();
    clear();
    emit typed(bytes, details);
}
