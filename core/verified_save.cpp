#include "core/verified_save.h"


#include <QCoreApplication>
#include <QRegularExpression>

#include "config/read_back.h"
#include "core/wording.h"
#include "device/device_link.h"
#include "device/link_failure.h"
#include "trvo/trvo.h"

namespace {

const char kReadBackDiffers[] = QT_TRANSLATE_NOOP("VerifiedSave", "读回的读卡器配置与发送的不一致（%1）。");
const char kConfirmedByReadBack[] =
    QT_TRANSLATE_NOOP("VerifiedSave", "读卡器没有应答保存命令，但读回的配置与发送的一致，已确认保存。");
// clang-format off
const char kPasswordUndecided[] = QT_TRANSLATE_NOOP("VerifiedSave", "新的配置密码可能已生效，也可能没有：读卡器只接受新旧两个密码中的一个，请重新连接后分别试用。");
// clang-format on
const char kPasswordInForce[] =
    QT_TRANSLATE_NOOP("VerifiedSave", "新的配置密码已经生效：读卡器保存了配置，之后只接受新密码。");
const char kNoReadBack[] = QT_TRANSLATE_NOOP("VerifiedSave", "读卡器没有给出可读的配置");

QString shown(const char *text)
{
    return QCoreApplication::translate("VerifiedSave", text);
}

// A value from the reader, on one line and short enough for a box.
QString boundedValue(QString value)
{
    constexpr int kShownCharacters = 40;
    for (QChar &c : value)
        if (c.category() == QChar::Other_Control)
            c = QLatin1Char(' ');
    return value.size() > kShownCharacters ? value.left(kShownCharacters) + QChar(0x2026) : value;
}

// The setting that differs, with what was sent and what came back.
QString differenceText(const config::KeyDifference &difference)
{
    // Labels end in a colon, full-width or not.
    const QString setting =
        formWords(difference.words).remove(QRegularExpression(QStringLiteral("[\\x{FF1A}:\\s]+$")));
    return QStringLiteral("%1 %2: %3 \u2192 %4")
        .arg(setting, difference.key, boundedValue(difference.sent), boundedValue(difference.readBack));
}

// Whether the failure leaves the reader out of reach, rather than answering
// in a way we could not use.
bool readerGone(const device::LinkFailure &failure)
{
    switch (failure.cause) {
    case TRVO_CAUSE_NO_PORT:
    case TRVO_CAUSE_PERMISSION:
    case TRVO_CAUSE_BUSY:
    case TRVO_CAUSE_UNREACHABLE:
    case TRVO_CAUSE_REFUSED:
    case TRVO_CAUSE_TIMEOUT:
    case TRVO_CAUSE_LOST:
        return true;
    default:
        return false;
    }
}

} // namespace

const char *linkFailureCode(const device::LinkFailure &failure)
{
    const char *code = device::causeCode(failure.cause);
    return code ? code : "no_answer";
}

bool changesPassword(const QString &signedText)
{
    return signedText.contains(QLatin1String("com_passwd="));
}

namespace {

SaveReport judgeReadBack(const std::optional<QByteArray> &readBack, const device::LinkFailure &failure,
                         const QString &signedText, bool answered)
{
    const bool newPassword = changesPassword(signedText);
    if (!readBack) {
        QString detail = linkFailureText(failure);
        if (detail.isEmpty())
            detail = shown(kNoReadBack);
        const bool undecided = newPassword && !answered;
        if (undecided)
            detail += QLatin1Char('\n') + shown(kPasswordUndecided);
        return {SaveReport::Unknown, detail, readerGone(failure),
                undecided ? "password_undecided" : linkFailureCode(failure)};
    }
    const config::ReadBackCheck check = config::compareReadBack(signedText.toUtf8(), *readBack);
    // A reader that answered the save took the new password with it, even
    // where it kept another value wrong.
    if (check.difference)
        return {SaveReport::Failed,
                shown(kReadBackDiffers).arg(differenceText(*check.difference))
                    + (newPassword ? QLatin1Char('\n') + shown(answered ? kPasswordInForce : kPasswordUndecided)
                                   : QString()),
                false,
                !newPassword ? "read_back_differs"
                : answered   ? "password_in_force"
                             : "password_undecided"};
    if (check.failure)
        return {SaveReport::Unknown, translated("config", *check.failure), false, "script"};
    if (answered)
        return {SaveReport::Saved, QString()};
    if (newPassword)
        return {SaveReport::Unknown, shown(kPasswordUndecided), false, "password_undecided"};
    return {SaveReport::Saved, shown(kConfirmedByReadBack), false, "confirmed_by_read_back"};
}

} // namespace

SaveReport saveVerified(device::Session &reader, const QString &signedText)
{
    // The UTF-8 bytes, the very bytes the signature covers.
    const device::StoreAnswer answer = reader.storeConfig(signedText.toUtf8());
    switch (answer.stored) {
    case device::Stored::Refused:
        return {SaveReport::Failed, QCoreApplication::translate("device", device::kRefusedConfiguration), false,
                "refused_password"};
    case device::Stored::NotSent:
        return {SaveReport::Failed, linkFailureText(answer.failure), readerGone(answer.failure),
                linkFailureCode(answer.failure)};
    case device::Stored::Yes:
    case device::Stored::Unanswered:
        break;
    }
    const std::optional<QByteArray> readBack = reader.readConfigWithin(device::kReadBackBudgetMs);
    SaveReport report =
        judgeReadBack(readBack, reader.failure(), signedText, answer.stored == device::Stored::Yes);
    report.readBack = readBack;
    return report;
}
