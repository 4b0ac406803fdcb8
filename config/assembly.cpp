#include "app/widget.h"

#include "ui_widget.h"

// PLACEHOLDER: filled by the issue that owns this subsystem.

void Widget::GetconfigState()
{
}
