#include "config/config_file.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QTextCodec>

#include "config/assembly.h"
#include "config/import.h"
#include "script/script_bridge.h"

namespace {

// In the language the program speaks now.
QString said(const char *source)
{
    return QCoreApplication::translate("config", source);
}

QString shown(const QString &path)
{
    return QDir::toNativeSeparators(path);
}

// The file's bytes, at most one more than a file may hold so that a larger
// one is told apart without reading it whole.
std::optional<QString> readBounded(const QString &path, QByteArray *bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return said(QT_TRANSLATE_NOOP("config", "无法读取文件 %1：%2")).arg(shown(path), file.errorString());
    *bytes = file.read(config::kMaxConfigFileBytes + 1);
    if (file.error() != QFileDevice::NoError)
        return said(QT_TRANSLATE_NOOP("config", "无法读取文件 %1：%2")).arg(shown(path), file.errorString());
    if (bytes->size() > config::kMaxConfigFileBytes)
        return said(QT_TRANSLATE_NOOP("config", "文件 %1 大于 64 KiB，不是配置文件")).arg(shown(path));
    return std::nullopt;
}

// Plain UTF-8 text: no invalid sequence and no NUL, which would end the
// text early for the script.
bool isUtf8Text(const QByteArray &bytes)
{
    QTextCodec::ConverterState state;
    QTextCodec::codecForName("UTF-8")->toUnicode(bytes.constData(), bytes.size(), &state);
    return state.invalidChars == 0 && !bytes.contains('\0');
}

// Other tools may add a byte-order mark or end the line the Windows way.
QByteArray withoutBomAndLineEnd(QByteArray bytes)
{
    if (bytes.startsWith("\xEF\xBB\xBF"))
        bytes.remove(0, 3);
    while (bytes.endsWith('\n') || bytes.endsWith('\r'))
        bytes.chop(1);
    return bytes;
}

// A disk that fills up takes part of a write; the write of the rest then
// fails with the system's reason.
bool writeAll(QSaveFile &file, const QByteArray &bytes)
{
    for (qint64 written = 0; written < bytes.size();) {
        const qint64 taken = file.write(bytes.constData() + written, bytes.size() - written);
        if (taken <= 0)
            return false;
        written += taken;
    }
    return true;
}

} // namespace

namespace config {

FileContents fileContents(const Ui_Widget &form)
{
    const Assembly enveloped = envelop(form, PasswordChange::Left);
    if (enveloped.refusal)
        return {QByteArray(), enveloped.refusal};
    return {enveloped.text.toUtf8() + '\n', std::nullopt};
}

std::optional<QString> openConfigFile(Ui_Widget &form, const QString &path)
{
    QByteArray bytes;
    if (std::optional<QString> unreadable = readBounded(path, &bytes))
        return unreadable;
    if (!isUtf8Text(bytes))
        return said(QT_TRANSLATE_NOOP("config", "文件 %1 不是 UTF-8 文本")).arg(shown(path));

    lua_State *script = script_open();
    if (!script)
        return said(QT_TRANSLATE_NOOP("config", "没有足够的内存运行配置脚本"));
    const QByteArray text = withoutBomAndLineEnd(bytes);
    const std::optional<QString> refused =
        importReaderText(form, script, text.constData(), KnownKeys::Required);
    script_close(script);
    if (refused)
        return said(QT_TRANSLATE_NOOP("config", "无法打开文件 %1：%2")).arg(shown(path), said(refused->toUtf8().constData()));
    return std::nullopt;
}

std::optional<QString> writeConfigFile(const QString &path, const QByteArray &bytes)
{
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly) && writeAll(file, bytes) && file.commit())
        return std::nullopt;
    return said(QT_TRANSLATE_NOOP("config", "无法写入文件 %1：%2")).arg(shown(path), file.errorString());
}

} // namespace config
