#include "core/verified_save.h"

#include "config/read_back.h"
#include "device/device_link.h"
#include "device/link_failure.h"
#include "trvo/trvo.h"

namespace {

// A value from the reader, on one line and short enough for a box.
QString boundedValue(QString value)
{
    constexpr int kShownCharacters = 40;
    for (QChar &c : value)
        if (c.category() == QChar::Other_Control)
            c = QLatin1Char(' ');
    return value.size() > kShownCharacters ? value.left(kShownCharacters) + QChar(0x2026) : value;
}

records::CausePart part(const char *code, const QStringList &args = QStringList())
{
    return {QLatin1String(code), args};
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

SaveReport reported(SaveReport::Outcome outcome, Cause cause, bool readerGone)
{
    SaveReport report{outcome, causeWords(cause), readerGone, causeCode(cause)};
    report.cause = std::move(cause);
    return report;
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
    // A reader that answered the save took the new password with it, even
    // where it kept another value wrong.
    const records::CausePart password = part(answered ? "password_in_force" : "password_undecided");
    if (!readBack) {
        Cause cause = linkFailureCause(failure);
        if (newPassword && !answered)
            cause.push_back(password);
        return reported(SaveReport::Unknown, cause, readerGone(failure));
    }
    const config::ReadBackCheck check = config::compareReadBack(signedText.toUtf8(), *readBack);
    if (check.difference) {
        const config::KeyDifference &difference = *check.difference;
        Cause cause{part("read_back_differs",
                         {difference.key, boundedValue(difference.sent), boundedValue(difference.readBack)})};
        if (newPassword)
            cause.push_back(password);
        return reported(SaveReport::Failed, cause);
    }
    if (check.failure)
        return reported(SaveReport::Unknown, {part("script", {*check.failure})});
    if (answered)
        return {SaveReport::Saved, QString()};
    if (newPassword)
        return reported(SaveReport::Unknown, {password});
    return reported(SaveReport::Saved, {part("confirmed_by_read_back")});
}

} // namespace

SaveReport saveVerified(device::Session &reader, const QString &signedText)
{
    // The UTF-8 bytes, the very bytes the signature covers.
    const device::StoreAnswer answer = reader.storeConfig(signedText.toUtf8());
    switch (answer.stored) {
    case device::Stored::Refused:
        return reported(SaveReport::Failed, {part("refused_password")});
    case device::Stored::NotSent:
        return reported(SaveReport::Failed, linkFailureCause(answer.failure), readerGone(answer.failure));
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
