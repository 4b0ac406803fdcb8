#ifndef TARVO_TESTS_SHOWN_CODE_H
#define TARVO_TESTS_SHOWN_CODE_H

#include <QFile>
#include <QLabel>
#include <QStringList>
#include <QTemporaryDir>
#include <QXmlStreamReader>

#include "support/widget_child.h"
#include "tools/qrread/qr_reader.h"
#include "window/code_actions.h"

// The text of the code on the window's label, as a scanner reads it; null
// while the label shows none.
inline QByteArray shownCodeText(QWidget &window)
{
    return readQrCode(formChild<QLabel>(window, "label")->pixmap(Qt::ReturnByValue).toImage());
}

// The lines of the sheet under the shown code, as its SVG export describes
// them: the summary, then the date line.
inline QStringList shownSheetLines(QWidget &window)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("sheet.svg"));
    if (!formChild<CodeActions>(window, "codeActions")->exportTo(path))
        return {};
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    QXmlStreamReader svg(&file);
    while (!svg.atEnd())
        if (svg.readNext() == QXmlStreamReader::StartElement && svg.name() == QLatin1String("desc"))
            return svg.readElementText().split(QLatin1Char('\n'));
    return {};
}

#endif
