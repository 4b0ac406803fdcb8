#include "app/widget.h"

#include <QDebug>
#include <QMessageBox>

#include "app/code_actions.h"
#include "qr/code_renderer.h"
#include "ui_widget.h"

namespace {

const char kStatusTitle[] = "生成二维码状态";

void tellStatus(QWidget *window, const char *text)
{
    QMessageBox::information(window, QString::fromUtf8(kStatusTitle), QString::fromUtf8(text),
                             QMessageBox::Ok);
}

} // namespace

void Widget::ButtonClicked()
{
    GetconfigState();
    if (configText.isEmpty()) {
        // Assembly has already told the user why it refused.
        tellStatus(this, "生成二维码失败");
        return;
    }
    GenerateQRcode(configText);
    codeActions->setCode(configText);
    configText.clear();
}

void Widget::GenerateQRcode(const QString &text)
{
    const CodeSymbol symbol(text);
    if (symbol.isNull()) {
        tellStatus(this, symbol.failure() == CodeSymbol::TooLong
                             ? "配置内容过长，超出配置码的容量，无法生成配置码"
                             : "生成二维码失败");
        return;
    }

    const int width = ui->label->width();
    const int height = ui->label->height();
    qDebug() << "temp_width=" << width << ";temp_height=" << height;

    // Square modules of whole device pixels; the white around them is the
    // code's quiet zone.
    const QPixmap picture =
        screenPixmap(symbol, QSize(width, height), ui->label->devicePixelRatioF(), 0);
    if (picture.isNull()) {
        tellStatus(this, "配置码过大，显示区域容纳不下");
        return;
    }
    ui->label->setPixmap(picture);
    ui->label->setAlignment(Qt::AlignCenter);
    ui->label->show();
}
