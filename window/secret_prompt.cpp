#include "window/secret_prompt.h"

#include <QLineEdit>
#include <QMessageBox>
#include <QRegularExpression>

#include "config/field_rules.h"
#include "ui_widget.h"
#include "widgets/boxes.h"
#include "window/config_file_controller.h"
#include "window/form_binding.h"

namespace {

// An address that names a user but no password, or whose secret query
// values were replaced by asterisks: what a record keeps of one that had credentials.
bool credentialsLeftOut(const QString &address)
{
    const int scheme = address.indexOf(QLatin1String("://"));
    const QString rest = address.mid(scheme < 0 ? 0 : scheme + 3);
    const QString authority = rest.section(QRegularExpression(QStringLiteral("[/?#]")), 0, 0);
    const int at = authority.lastIndexOf(QLatin1Char('@'));
    return (at >= 0 && !authority.left(at).contains(QLatin1Char(':'))) || address.contains(QLatin1String("=***"));
}

} // namespace

SecretPrompt::SecretPrompt(Ui_Widget &ui, const ConfigFileController &files, QWidget *parent)
    : QObject(parent),
      form(ui),
      window(parent),
      wifiPlaceholder(ui.wifipasswd->placeholderText()),
      addressToolTip(ui.httpaddr->toolTip())
{
    connect(&files, &ConfigFileController::opened, this, &SecretPrompt::opened);
    // Typed, the password is the user's choice, empty or not.
    connect(form.wifipasswd, &QLineEdit::textEdited, this, [this] { markWifi(false); });
    connect(form.httpaddr, &QLineEdit::textEdited, this, [this] { markAddress(false); });
}

void SecretPrompt::opened()
{
    const config::FormValue value = binding::read(form);
    const bool wifiMissing = field_rules::wifiPasswordWritten(value) && value.wifipasswd.isEmpty();
    const bool credentialsMissing = field_rules::httpServerWritten(value) && credentialsLeftOut(value.httpaddr);
    markWifi(wifiMissing);
    markAddress(credentialsMissing);
    QStringList said;
    if (wifiMissing)
        said << tr("WIFI密码未随配置保存，请重新输入");
    if (credentialsMissing)
        said << tr("HTTP服务器地址的账号密码未随配置保存，请重新输入");
    if (!said.isEmpty())
        form.labelState->setText(said.join(tr("；")));
}

void SecretPrompt::markWifi(bool missing)
{
    wifiPending = missing;
    form.wifipasswd->setPlaceholderText(missing ? tr("未随配置保存，请重新输入") : wifiPlaceholder);
}

void SecretPrompt::markAddress(bool missing)
{
    form.httpaddr->setToolTip(missing ? tr("地址中的账号密码未随配置保存，请重新输入") : addressToolTip);
}

bool SecretPrompt::mayGoOn()
{
    const config::FormValue value = binding::read(form);
    if (!wifiPending || !field_rules::wifiPasswordWritten(value) || !value.wifipasswd.isEmpty())
        return true;
    const QMessageBox::StandardButton answer =
        showBox(window, QMessageBox::Question, tr("WIFI密码"), tr("WIFI密码未随配置保存。仍以空密码生成？"),
                QString(), QMessageBox::Yes | QMessageBox::No, QMessageBox::No);
    if (answer != QMessageBox::Yes) {
        form.wifipasswd->setFocus();
        return false;
    }
    markWifi(false);
    return true;
}
