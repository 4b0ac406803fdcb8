#ifndef TARVO_WIDGETS_SCREEN_FIT_H
#define TARVO_WIDGETS_SCREEN_FIT_H

class QWidget;

// Makes a window or dialog about to be shown open whole on the screen it
// belongs to: the available geometry of its parent window's screen (its own
// without a parent). It is made no larger than that area, frame included,
// centred over its parent, and moved inside. Call it before show() or exec().
void fitOnScreen(QWidget *window);

#endif
