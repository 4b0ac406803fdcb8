#ifndef TARVO_WINDOW_FORM_FONTS_H
#define TARVO_WINDOW_FORM_FONTS_H

class QWidget;
class Ui_Widget;

// Gives the window the fonts its fixed layout was drawn for: the Windows
// families the form names resolve to an installed CJK face, sizes are held
// in pixels as the form's rectangles are (12 px where the form names none,
// whatever the desktop's default), and the few captions that would still be
// cut or run into a neighbour get a smaller size or an indent.
//
// The base font is the application's, set before setupUi: every widget the
// form makes then starts with it, where setting it afterwards would resolve
// and announce the change across all 321 widgets, and the form's pages,
// made without a parent, keep it when the stacked widget takes them. The
// tool windows and boxes share the window's face. The rest right after
// setupUi.
void applyBaseFont();
void applyFormFonts(QWidget &window, Ui_Widget &ui);

#endif
