#include "app/widget.h"

#include "ui_widget.h"

// PLACEHOLDER: filled by the issue that owns this subsystem.

void Widget::on_developmode_clicked()
{
}

void Widget::on_scanmode_clicked()
{
}

void Widget::on_serialchoose_clicked()
{
}

void Widget::on_ttlchoose_clicked()
{
}

void Widget::on_serialxieyi_clicked()
{
}

void Widget::on_ttlxieyi_clicked()
{
}

void Widget::on_weigenOut_clicked()
{
}

void Widget::on_keyboardOut_clicked()
{
}

void Widget::on_serialOut_clicked()
{
}

void Widget::on_ttlOut_clicked()
{
}

void Widget::on_wifiOut_clicked()
{
}

void Widget::on_ethernetOut_clicked()
{
}

void Widget::on_outputhight_clicked()
{
}

void Widget::on_lowvoltage_clicked()
{
}

void Widget::on_highvoltage_clicked()
{
}

void Widget::on_usbhidchoose_clicked()
{
}

void Widget::on_serialdragxieyi_clicked()
{
}

void Widget::on_tarvoxy_clicked()
{
}

void Widget::on_tarvo_ZB_clicked()
{
}

void Widget::on_tarvo_RN450_clicked()
{
}

void Widget::on_tarvo_E200FK_clicked()
{
}

void Widget::on_tarvo_RN310_clicked()
{
}

void Widget::on_tarvo_PL_clicked()
{
}

void Widget::on_tarvo_HD5000_clicked()
{
}

void Widget::on_tarvo_KS_clicked()
{
}

void Widget::on_tarvo_WT_clicked()
{
}

void Widget::on_oldpwcheck_clicked()
{
}

void Widget::on_changepwcheck_clicked()
{
}

void Widget::on_tarvo_rseven_clicked()
{
}

void Widget::on_outputhight_2_clicked()
{
}
