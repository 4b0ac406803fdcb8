#include "app/widget.h"

#include "ui_widget.h"

// PLACEHOLDER: filled by the issue that owns this subsystem.

void Widget::on_connectBtn_clicked()
{
}

void Widget::on_saveBtn_clicked()
{
}
