#ifndef TARVO_WINDOW_CODE_ZOOM_VIEW_H
#define TARVO_WINDOW_CODE_ZOOM_VIEW_H

#include <QWidget>

#include "qr/code_renderer.h"

// The config code alone, as large as the window allows, centred on white with
// its quiet zone: for scanning from a distance or off a small screen. Escape
// or a click closes it.
class CodeZoomView : public QWidget
{
    Q_OBJECT

public:
    CodeZoomView(const CodeSymbol &symbol, QWidget *parent);

protected:
    void paintEvent(QPaintEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;

private:
    CodeSymbol symbol;
};

#endif
