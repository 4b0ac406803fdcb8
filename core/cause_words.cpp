#include "core/cause_words.h"

#include <QCoreApplication>

#include <algorithm>

#include "core/change_words.h"
#include "program/wording.h"

namespace {

// What a part's arguments are, besides words shown as they came.
enum class Arguments {
    AsGiven,
    SettingFirst, // the first is a key: the setting's name goes before it
    Translated,   // the arguments are texts of the wording's context
};

struct Wording
{
    const char *code;
    const char *context; // of the text's translation
    // %1… the arguments; those it does not place follow, a line each.
    const char *text;
    Arguments arguments = Arguments::AsGiven;
    bool runsOn = false; // the next part follows on the same line
};

// Every cause but a link's, whose words device/ gives with its code.
// clang-format off
const Wording kWordings[] = {
    {"refused_password", "device", device::kRefusedConfiguration},
    {"read_back_differs", "VerifiedSave", QT_TRANSLATE_NOOP("VerifiedSave", "读回的读卡器配置与发送的不一致（%1 %2: %3 → %4）。"), Arguments::SettingFirst},
    {"password_in_force", "VerifiedSave", QT_TRANSLATE_NOOP("VerifiedSave", "新的配置密码已经生效：读卡器保存了配置，之后只接受新密码。")},
    {"password_undecided", "VerifiedSave", QT_TRANSLATE_NOOP("VerifiedSave", "新的配置密码可能已生效，也可能没有：读卡器只接受新旧两个密码中的一个，请重新连接后分别试用。")},
    {"confirmed_by_read_back", "VerifiedSave", QT_TRANSLATE_NOOP("VerifiedSave", "读卡器没有应答保存命令，但读回的配置与发送的一致，已确认保存。")},
    {"no_answer", "VerifiedSave", QT_TRANSLATE_NOOP("VerifiedSave", "读卡器没有给出可读的配置。")},
    {"script", "config", "%1", Arguments::Translated},
    {"not_written", "ReaderBatch", QT_TRANSLATE_NOOP("ReaderBatch", "未能读取读卡器的配置，没有写入："), Arguments::AsGiven, true},
    {"differs", "CauseWords", QT_TRANSLATE_NOOP("CauseWords", "读卡器的配置与文件不同。")},
};
// clang-format on

const Wording *wordingOf(const QString &code)
{
    const auto found = std::find_if(std::begin(kWordings), std::end(kWordings), [&code](const Wording &wording) {
        return code == QLatin1String(wording.code);
    });
    return found != std::end(kWordings) ? found : nullptr;
}

// The text with %1… replaced in one pass (an argument's own % stays as it
// is); the arguments after the last it places follow, a line each.
QString filled(const QString &text, const QStringList &args)
{
    QString words;
    int placed = 0;
    for (int at = 0; at < text.size(); ++at) {
        const int n = at + 1 < text.size() ? text.at(at + 1).digitValue() : -1;
        if (text.at(at) == QLatin1Char('%') && n >= 1 && n <= args.size()) {
            words += args.at(n - 1);
            placed = std::max(placed, n);
            ++at;
        } else {
            words += text.at(at);
        }
    }
    for (const QString &rest : args.mid(placed))
        if (!rest.isEmpty())
            words += QLatin1Char('\n') + rest;
    return words;
}

// A part in the program's language; a code this program does not know (a
// newer one's) is shown as it is, with its arguments.
QString partWords(const records::CausePart &part, bool *runsOn)
{
    const Wording *wording = wordingOf(part.code);
    if (!wording) {
        const char *link = device::causeText(device::causeNamed(part.code));
        return filled(link ? QCoreApplication::translate("device", link) : part.code, part.args);
    }
    QStringList args = part.args;
    if (wording->arguments == Arguments::SettingFirst && !args.isEmpty())
        args.prepend(settingName(args.first()));
    if (wording->arguments == Arguments::Translated)
        for (QString &arg : args)
            arg = translated(wording->context, arg);
    *runsOn = wording->runsOn;
    return filled(QCoreApplication::translate(wording->context, wording->text), args);
}

} // namespace

QString linkFailureText(const device::LinkFailure &failure)
{
    const char *cause = device::causeText(failure.cause);
    if (!cause)
        return failure.message;
    return QCoreApplication::translate("device", cause) + QLatin1Char('\n') + failure.message;
}

Cause linkFailureCause(const device::LinkFailure &failure)
{
    const char *code = device::causeCode(failure.cause);
    return {{code ? QLatin1String(code) : QStringLiteral("no_answer"),
             failure.message.isEmpty() ? QStringList() : QStringList(failure.message)}};
}

QString causeWords(const Cause &cause)
{
    QString words;
    bool runsOn = true;
    for (const records::CausePart &part : cause) {
        if (!runsOn)
            words += QLatin1Char('\n');
        runsOn = false;
        words += partWords(part, &runsOn);
    }
    return words;
}

const char *causeCode(const Cause &cause)
{
    if (cause.empty())
        return nullptr;
    const QString &code = cause.back().code;
    const Wording *wording = wordingOf(code);
    return wording ? wording->code : device::causeCode(device::causeNamed(code));
}

QString recordCause(const records::Record &record)
{
    return record.causeParts.empty() ? record.cause : causeWords(record.causeParts);
}

QString resultWords(const records::Record &record)
{
    const QString name = records::resultName(record.result);
    return record.result == records::Record::Failed ? name + QStringLiteral(": ") + recordCause(record) : name;
}
