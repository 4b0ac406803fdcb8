#ifndef TARVO_WINDOW_KEYBOARD_H
#define TARVO_WINDOW_KEYBOARD_H

class QWidget;
class Ui_Widget;

// The window from the keyboard: shortcuts for 生成配置码 (Ctrl+G), 连接设备
// (Ctrl+D) and 保存配置 (Ctrl+Shift+D), named in the buttons' tooltips, and
// a tab order that runs as the form reads: product series, configuration
// password, work mode, output channel, the options pages, then the buttons
// beside the code. Called once every control of the window exists.
void setUpKeyboard(Ui_Widget &form, QWidget &window);

#endif
