// Times the config code: from a click on the generate button to the pixmap
// in the label, the painting of the finished text alone, and libqrencode's
// encoding alone, for a minimal, a typical Wi-Fi and a version-40
// configuration; then, for the version-40 configuration, from the click to
// an exported PNG, SVG and PDF file; and what watching a shown code for
// changes adds to each change of a field. Prints medians of repeated runs as
// Markdown tables.
#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QVector>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <qrencode.h>

#include "bench_support.h"
#include "support/message_box_answerer.h"
#include "support/widget_probe.h"
#include "window/code_actions.h"
#include "window/widget.h"

namespace {

const int kWarmUpRuns = 5;
// Bytes of a version-40 symbol at level Q when every byte is an 8-bit run.
const int kVersionFortyBytes = 1663;

// The median of what `measure` returns, after the warm-up runs.
double medianOf(int runs, const std::function<double()> &measure)
{
    for (int i = 0; i < kWarmUpRuns; ++i)
        measure();
    QVector<double> values;
    values.reserve(runs);
    for (int i = 0; i < runs; ++i)
        values.append(measure());
    return median(values);
}

double medianMicroseconds(int runs, const std::function<void()> &work)
{
    return medianOf(runs, [&] {
        QElapsedTimer timer;
        timer.start();
        work();
        return timer.nsecsElapsed() / 1000.0;
    });
}

template <class T>
T *field(Widget &window, const char *name)
{
    return formChild<T>(window, name);
}


void minimalForm(Widget &) {}

// Wi-Fi output with NFC on, a TCP server with heartbeat and an HTTP address.
void wifiForm(Widget &w)
{
    field<QRadioButton>(w, "wifiOut")->setChecked(true);
    field<QCheckBox>(w, "nfcable")->setChecked(true);
    field<QLineEdit>(w, "wifiname")->setText(QStringLiteral("Tarvo-Office-5G"));
    field<QLineEdit>(w, "wifipasswd")->setText(QStringLiteral("w1f1-Pass!2024"));
    field<QLineEdit>(w, "tcpaddr")->setText(QStringLiteral("192.168.10.25"));
    field<QLineEdit>(w, "tcpport")->setText(QStringLiteral("9000"));
    field<QRadioButton>(w, "wiredhttp")->setChecked(true);
    field<QLineEdit>(w, "httpaddr")->setText(QStringLiteral("http://192.168.10.25:8080/api/scan"));
}

// The start-state form with a prefix long enough to fill a version-40 symbol.
void versionFortyForm(Widget &w)
{
    const int length = WidgetProbe(w).buildConfigText().toUtf8().size();
    field<QLineEdit>(w, "linePrefix")->setText(QString(kVersionFortyBytes - length, QLatin1Char('x')));
}

// From a click to the exported file, and the export alone, for each format.
// Each click shows a new code, so each export encodes it again, as the
// first export after a click does.
int benchExports()
{
    const int runs = 101;
    QTemporaryDir dir;
    Widget window;
    MessageBoxAnswerer answerer;
    field<QLineEdit>(window, "manpw")->setText(QStringLiteral("Tarvo-0123456789"));
    versionFortyForm(window);
    QPushButton *generate = field<QPushButton>(window, "pushButton");
    CodeActions &actions = *formChild<CodeActions>(window, "codeActions");

    std::printf("\n| version 40 to | file size (bytes) | click to file (µs) | export alone (µs) |\n");
    std::printf("|---|---:|---:|---:|\n");
    for (const char *suffix : {"png", "svg", "pdf"}) {
        const QString path = dir.filePath(QStringLiteral("code.") + QLatin1String(suffix));
        const double click = medianMicroseconds(runs, [&] {
            generate->click();
            actions.exportTo(path);
        });
        const double exportAlone = medianOf(runs, [&] {
            generate->click();
            QElapsedTimer timer;
            timer.start();
            actions.exportTo(path);
            return timer.nsecsElapsed() / 1000.0;
        });
        if (!answerer.seen().isEmpty() || !QFileInfo::exists(path)) {
            std::fprintf(stderr, "%s: no file was exported: %s\n", suffix,
                         qPrintable(answerer.summary().join(QLatin1Char('\n'))));
            return 1;
        }
        std::printf("| %s | %lld | %.0f | %.0f |\n", suffix, QFileInfo(path).size(), click, exportAlone);
    }
    return 0;
}

// One change of a field with and without a shown code to watch. The
// confirmation of a new password is no part of the code, so the check runs
// whole on each change and finds the code still fresh; a prefix change is
// the first change that marks it stale, new code before each run.
void benchStaleCheck(const char *name, void (*setUp)(Widget &), int runs)
{
    Widget window;
    MessageBoxAnswerer answerer;
    field<QLineEdit>(window, "manpw")->setText(QStringLiteral("Tarvo-0123456789"));
    setUp(window);
    QPushButton *generate = field<QPushButton>(window, "pushButton");
    QLineEdit *confirmation = field<QLineEdit>(window, "confimpw");
    QLineEdit *prefix = field<QLineEdit>(window, "linePrefix");
    CodeActions &actions = *formChild<CodeActions>(window, "codeActions");
    int typed = 0;
    const auto typeOnce = [&] { confirmation->setText(QString::number(++typed)); };

    const double noCode = medianMicroseconds(runs, typeOnce);
    generate->click();
    const double watched = medianMicroseconds(runs, typeOnce);
    const bool fresh = actions.usable();
    const int codeBytes = int(WidgetProbe(window).buildConfigText().toUtf8().size());
    const QString prefixText = prefix->text();
    const double marking = medianOf(runs, [&] {
        prefix->setText(prefixText);
        generate->click();
        QElapsedTimer timer;
        timer.start();
        prefix->setText(prefixText + QLatin1Char('!'));
        return timer.nsecsElapsed() / 1000.0;
    });
    if (!fresh || actions.usable() || !answerer.seen().isEmpty()) {
        std::fprintf(stderr, "%s: the code was not watched as it should be\n", name);
        std::exit(1);
    }
    std::printf("| %s | %d | %.1f | %.1f | %.1f | %.1f |\n", name, codeBytes, noCode, watched, watched - noCode,
                marking);
}

struct Case
{
    const char *name;
    void (*setUp)(Widget &);
    int runs;
};

} // namespace

int main(int argc, char **argv)
{
    BenchApplication app(argc, argv);

    const Case cases[] = {
        {"minimal (start-state form)", minimalForm, 1001},
        {"typical Wi-Fi", wifiForm, 501},
        {"version 40", versionFortyForm, 301},
    };

    std::printf("%s\n\n", qPrintable(machineSummary()));
    std::printf("| form | bytes | version | click to pixmap (µs) | painting alone (µs) "
                "| encoding alone (µs) | click / encoding |\n");
    std::printf("|---|---:|---:|---:|---:|---:|---:|\n");
    for (const Case &c : cases) {
        Widget window;
        WidgetProbe probe(window);
        MessageBoxAnswerer answerer;
        QLabel *label = field<QLabel>(window, "label");
        QPushButton *generate = field<QPushButton>(window, "pushButton");
        field<QLineEdit>(window, "manpw")->setText(QStringLiteral("Tarvo-0123456789"));
        c.setUp(window);
        const QString text = WidgetProbe(window).buildConfigText();
        const QByteArray bytes = text.toUtf8();

        const double click = medianMicroseconds(c.runs, [&] { generate->click(); });
        const double painting = medianMicroseconds(c.runs, [&] { probe.generateQRcode(text); });
        QRcode *symbol = QRcode_encodeString(bytes.constData(), 2, QR_ECLEVEL_Q, QR_MODE_8, 1);
        const int version = symbol ? symbol->version : 0;
        QRcode_free(symbol);
        const double encoding = medianMicroseconds(c.runs, [&] {
            QRcode_free(QRcode_encodeString(bytes.constData(), 2, QR_ECLEVEL_Q, QR_MODE_8, 1));
        });
        if (text.isEmpty() || version == 0 || label->pixmap(Qt::ReturnByValue).isNull()
            || !answerer.seen().isEmpty()) {
            std::fprintf(stderr, "%s: no code was painted: %s\n", c.name,
                         qPrintable(answerer.summary().join(QLatin1Char('\n'))));
            return 1;
        }
        std::printf("| %s | %d | %d | %.0f | %.0f | %.0f | %.2f |\n", c.name, int(bytes.size()), version, click,
                    painting, encoding, click / encoding);
    }
    if (const int failed = benchExports())
        return failed;

    std::printf("\n| form | bytes | change, no code (µs) | change, code watched (µs) "
                "| the check (µs) | change that marks (µs) |\n");
    std::printf("|---|---:|---:|---:|---:|---:|\n");
    for (const Case &c : cases)
        benchStaleCheck(c.name, c.setUp, c.runs);
    return 0;
}
