// The window's slots of the configuration text: the group builders, the
// build with its signature, the reader import and the config code. Each
// hands the form to config/ or qr/ and shows what comes back.
#include "window/widget.h"

#include <QPixmap>

#include "config/assembly.h"
#include "config/groups.h"
#include "config/import.h"
#include "qr/config_code.h"
#include "script/script_bridge.h"
#include "ui_widget.h"
#include "widgets/boxes.h"
#include "window/code_actions.h"
#include "window/device_session.h"
#include "window/field_marks.h"
#include "window/form_binding.h"
#include "window/reader_review.h"
#include "window/secret_prompt.h"

namespace {

const char kCodeStatusTitle[] = QT_TRANSLATE_NOOP("Widget", "生成二维码状态");

} // namespace

void Widget::Ordinary_Config()
{
    config::appendGeneralGroup(binding::read(*ui), configText);
}

void Widget::Nfc_Config()
{
    config::appendNfcGroup(binding::read(*ui), configText);
}

void Widget::Net_Config()
{
    config::appendNetworkGroup(binding::read(*ui), configText);
}

void Widget::Wg_Config()
{
    config::appendWiegandGroup(binding::read(*ui), configText);
}

void Widget::Serial_Config()
{
    config::appendSerialGroup(binding::read(*ui), configText);
}

// A refusal leaves the text empty; a field at fault is shown after the box.
void Widget::GetconfigState()
{
    const config::Assembly built = config::assemble(binding::read(*ui));
    configText = built.text;
    if (built.refusal)
        showRefusal(this, *ui, *built.refusal);
}

int Widget::get_hmac(QString istr, char *obuf)
{
    const std::optional<config::Refusal> refusal = config::signDigest(istr, binding::read(*ui).manpw, obuf);
    if (!refusal)
        return 0;
    configText.clear();
    showRefusal(this, *ui, *refusal);
    return -1;
}

void Widget::Getinitkeyvalue()
{
    importReaderConfig(true, readerReview->firmware());
}

// A fresh configuration script reads the last connect's text; the window
// keeps it until the next import. Kept out of the form, the reader's value
// is read from the form's, so that a key the reader lacks differs in nothing.
std::optional<QString> Widget::importReaderConfig(bool intoForm, const QString &firmware)
{
    lua_State *fresh = script_open();
    script_close(lua_state);
    lua_state = fresh;
    if (!lua_state)
        return tr("没有足够的内存运行配置脚本");
    if (!intoForm) {
        const config::ImportResult read =
            config::importReaderText(formBinding->value(), lua_state, readerText.constData());
        if (read.refusal)
            return translated("config", *read.refusal);
        readerReview->readerRead(readerText, false, firmware, deviceSession->link());
        return std::nullopt;
    }
    if (std::optional<QString> failure = binding::importIntoForm(*ui, lua_state, readerText.constData()))
        return translated("config", *failure);
    readerReview->readerRead(readerText, true, firmware, deviceSession->link());
    return std::nullopt;
}

void Widget::ButtonClicked()
{
    if (!secretPrompt->mayGoOn())
        return;
    GetconfigState();
    if (configText.isEmpty()) {
        // Assembly has already told the user why it refused.
        tell(this, tr(kCodeStatusTitle), tr("生成二维码失败"));
        return;
    }
    GenerateQRcode(configText);
    configText.clear();
}

void Widget::GenerateQRcode(const QString &text)
{
    const qr::Code code = qr::paintCode(text, ui->label->size(), ui->label->devicePixelRatioF());
    if (code.picture.isNull()) {
        tell(this, tr(kCodeStatusTitle), translated("qr", code.failure), code.detail);
        return;
    }
    ui->label->setPixmap(code.picture);
    ui->label->setAlignment(Qt::AlignCenter);
    ui->label->show();
    codeActions->setCode(text);
}
