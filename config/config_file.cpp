#include "config/config_file.h"

#include <QCoreApplication>
#include <QDir>
#include <QTextCodec>

#include "config/assembly.h"
#include "config/import.h"
#include "config/password_entry.h"
#include "files/safe_file.h"
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
// one is told apart without reading it whole (and refused when opened).
std::optional<QString> readBounded(const QString &path, QByteArray *bytes)
{
    if (const std::optional<QString> unread = files::readRegularFile(path, config::kMaxConfigFileBytes, bytes))
        return said(QT_TRANSLATE_NOOP("config", "无法读取文件 %1：%2")).arg(shown(path), *unread);
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

} // namespace

namespace config {

FileContents fileContents(const FormValue &form)
{
    const Assembly enveloped = envelop(form, PasswordChange::Left);
    if (enveloped.refusal)
        return {QByteArray(), enveloped.refusal};
    return {enveloped.text.toUtf8() + '\n', std::nullopt};
}

ImportResult openConfigFile(const FormValue &current, const QString &path)
{
    QByteArray bytes;
    if (std::optional<QString> unreadable = readBounded(path, &bytes))
        return ImportResult{*unreadable, {}};
    return openConfigBytes(current, bytes, shown(path));
}

ImportResult openConfigBytes(const FormValue &current, const QByteArray &bytes, const QString &name)
{
    const auto refused = [](const QString &reason) { return ImportResult{reason, {}}; };
    if (bytes.size() > kMaxConfigFileBytes)
        return refused(said(QT_TRANSLATE_NOOP("config", "文件 %1 大于 64 KiB，不是配置文件")).arg(name));
    if (!isUtf8Text(bytes))
        return refused(said(QT_TRANSLATE_NOOP("config", "文件 %1 不是 UTF-8 文本")).arg(name));

    lua_State *script = script_open();
    if (!script)
        return refused(said(QT_TRANSLATE_NOOP("config", "没有足够的内存运行配置脚本")));
    const QByteArray text = withoutBomAndLineEnd(bytes);
    ImportResult result = importReaderText(current, script, text.constData(), KnownKeys::Required);
    script_close(script);
    if (result.refusal)
        return refused(said(QT_TRANSLATE_NOOP("config", "无法打开文件 %1：%2"))
                           .arg(name, said(result.refusal->toUtf8().constData())));
    // A value replaced by what the form can show would be lost on the next save.
    if (!result.imported.notShown.isEmpty())
        return refused(said(QT_TRANSLATE_NOOP("config", "无法打开文件 %1：文件中 %2 无法载入"))
                           .arg(name, result.imported.notShown.constFirst()));
    return result;
}

std::optional<QString> writeConfigFile(const QString &path, const QByteArray &bytes)
{
    const files::Readers readers = password_entry::holdsSecret(QString::fromUtf8(bytes))
                                       ? files::Readers::OwnerOnly
                                       : files::Readers::Anyone;
    if (const std::optional<QString> unwritten = files::replaceFile(path, bytes, readers))
        return said(QT_TRANSLATE_NOOP("config", "无法写入文件 %1：%2")).arg(shown(path), *unwritten);
    return std::nullopt;
}

} // namespace config
