// Times a reader's configuration on its way into and out of the tool: the
// import of a full configuration through the shipped script, with the time
// of each of its steps; and connect and save against the reader simulator
// over loopback TCP, from the click to the box that tells the outcome,
// beside the device library's bare calls. Prints medians of repeated runs
// as Markdown tables.
//
// The steps are timed inside real imports: the bench is linked with the
// bridge's functions wrapped (-Wl,--wrap), so each call the import makes
// passes through a wrapper that adds its time to the step's account.
#include <QAbstractButton>
#include <QApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QMessageAuthenticationCode>
#include <QMessageBox>
#include <QTest>
#include <QVector>

#include <cstdio>
#include <fcntl.h>
#include <functional>
#include <optional>
#include <unistd.h>

#include "bench_support.h"
#include "config/read_back.h"
#include "core/verified_save.h"
#include "device/device_link.h"
#include "script/script_bridge.h"
#include "support/reader_sim.h"
#include "support/widget_probe.h"
#include "trvo/trvo.h"
#include "window/device_session.h"
#include "window/widget.h"

namespace {

const int kWarmUpRuns = 5;
const int kImportRuns = 501;
const int kFirstImportRuns = 51;
const int kImportedKeys = 51;
const int kDeviceRuns = 201;
const char kReaderPassword[] = "Tarvo#Factory#16";

// A reader's own text holding every key the import asks for, with a value
// in each: Wi-Fi output with TCP and HTTP, NFC on, a prefix and suffix, both
// serial settings.
const char kFullConfig[] = "chk_env=0,de_type=8193,cr=1,nl=1,wled=1,prefix='IN:',postfix='#',chorc=1,s_mode=1,"
                           "interval=500,devnum=12,brightness=180,ascan=5,decoder=19,beepd=40,ledd=150,ft=3,"
                           "nfc=1,anfc=3,ord=1,idord=1,st=8,len=8,pri='C:',pos=';',horc=2,nft=2,"
                           "owifi=4,heart_en=1,haddr='http://192.168.10.25:8080/api/scan',houttime=2,awifi_s=3,"
                           "awifi_f=4,ssid='Tarvo-Office-5G',psk='w1f1-Pass!2024',heart_time=60,"
                           "heart_data='www.tarvo.com',taddr='192.168.10.25',port=9000,touttime=2,eth=1,"
                           "ip_mode=0, ip='192.168.10.40',mask='255.255.255.0',gateway='192.168.10.1',"
                           "volctl=1,vg=1,p_uart1='115200-8-N-1',p_uart2='9600-8-E-1',usb_mode=0,"
                           "ochannel=8,dchannel=1,w_mode=1";

// Microseconds spent in each bridge function during one import.
struct Account
{
    double open = 0;
    double close = 0;
    double update = 0;
    double queries = 0;
    int queryCount = 0;
    int queriesAnswered = 0;
};
Account account;

// Adds the time from its making to its end to one step of the account.
class Charge
{
public:
    explicit Charge(double &step) : step(step) { timer.start(); }
    ~Charge() { step += timer.nsecsElapsed() / 1000.0; }

private:
    double &step;
    QElapsedTimer timer;
};

// The bridge writes a line to standard error for every number it answers;
// at the rate of a benchmark those lines would time the terminal.
class QuietStandardError
{
public:
    QuietStandardError() : saved(dup(STDERR_FILENO))
    {
        const int null = open("/dev/null", O_WRONLY);
        dup2(null, STDERR_FILENO);
        close(null);
    }
    ~QuietStandardError()
    {
        dup2(saved, STDERR_FILENO);
        close(saved);
    }

private:
    int saved;
};

} // namespace

extern "C" {
lua_State *__real_script_open(void);
void __real_script_close(lua_State *L);
int __real_script_updatecfg(lua_State *L, const char *text);
int __real_script_getvalue_num(lua_State *L, const char *key, int32_t *out);
int __real_script_getvalue_str(lua_State *L, const char *key, char *dst, size_t capacity, int32_t *len_out);

lua_State *__wrap_script_open(void)
{
    Charge charge(account.open);
    return __real_script_open();
}

void __wrap_script_close(lua_State *L)
{
    Charge charge(account.close);
    __real_script_close(L);
}

int __wrap_script_updatecfg(lua_State *L, const char *text)
{
    Charge charge(account.update);
    return __real_script_updatecfg(L, text);
}

int __wrap_script_getvalue_num(lua_State *L, const char *key, int32_t *out)
{
    Charge charge(account.queries);
    const int result = __real_script_getvalue_num(L, key, out);
    ++account.queryCount;
    account.queriesAnswered += result == 0;
    return result;
}

int __wrap_script_getvalue_str(lua_State *L, const char *key, char *dst, size_t capacity, int32_t *len_out)
{
    Charge charge(account.queries);
    const int result = __real_script_getvalue_str(L, key, dst, capacity, len_out);
    ++account.queryCount;
    account.queriesAnswered += result == 0;
    return result;
}
}

namespace {

// Imports the full configuration into a shown window again and again.
// Returns false when an import did not query and get every key.
bool benchImport()
{
    Widget window;
    window.show();
    WidgetProbe probe(window);
    probe.setDevConfig(QByteArray(kFullConfig, sizeof kFullConfig));

    QVector<double> whole, open, close, update, queries, form;
    QElapsedTimer timer;
    QuietStandardError quiet;
    for (int run = 0; run < kWarmUpRuns + kImportRuns; ++run) {
        account = Account();
        timer.start();
        probe.getinitkeyvalue();
        const double total = timer.nsecsElapsed() / 1000.0;
        // A value the form cannot show as it is costs a query more, to name it.
        if (account.queriesAnswered < kImportedKeys)
            return false;
        if (run < kWarmUpRuns)
            continue;
        whole.append(total);
        open.append(account.open);
        close.append(account.close);
        update.append(account.update);
        queries.append(account.queries);
        form.append(total - account.open - account.close - account.update - account.queries);
    }

    std::printf("| step | median (µs) |\n|---|---:|\n");
    std::printf("| script_open: new state, standard libraries, load and run the script | %.0f |\n", median(open));
    std::printf("| script_close of the previous import's state | %.0f |\n", median(close));
    std::printf("| updatecfg: the script reads the text | %.0f |\n", median(update));
    std::printf("| the %d and more queries (bridge and script) | %.0f |\n", kImportedKeys, median(queries));
    std::printf("| setting the form from the answers | %.0f |\n", median(form));
    std::printf("| **whole import** (`Getinitkeyvalue`) | **%.0f** |\n", median(whole));

    // The first import into a freshly shown window, as at the first connect
    // after a start: groups the window has not shown before are laid out.
    QVector<double> first;
    for (int run = 0; run < kFirstImportRuns; ++run) {
        Widget fresh;
        fresh.show();
        QApplication::processEvents();
        WidgetProbe freshProbe(fresh);
        freshProbe.setDevConfig(QByteArray(kFullConfig, sizeof kFullConfig));
        timer.start();
        freshProbe.getinitkeyvalue();
        first.append(timer.nsecsElapsed() / 1000.0);
    }
    std::printf("| whole import, the first into a freshly shown window | %.0f |\n", median(first));
    return true;
}

// ---- Connect and save -----------------------------------------------------

// Answers each message box the moment it is shown, with Ok as a user would,
// and notes when the last one was shown and what it said.
class BoxAnswerer : public QObject
{
public:
    explicit BoxAnswerer(const QElapsedTimer &clock) : clock(clock) { qApp->installEventFilter(this); }
    ~BoxAnswerer() override { qApp->removeEventFilter(this); }

    qint64 shownAt = 0; // nanoseconds on the clock
    QString text;

protected:
    bool eventFilter(QObject *object, QEvent *event) override
    {
        auto *box = qobject_cast<QMessageBox *>(object);
        if (box && event->type() == QEvent::Show) {
            shownAt = clock.nsecsElapsed();
            text = box->text();
            QMetaObject::invokeMethod(
                box,
                [box] {
                    if (QAbstractButton *ok = box->button(QMessageBox::Ok))
                        ok->click();
                    else
                        box->reject();
                },
                Qt::QueuedConnection);
        }
        return false;
    }

private:
    const QElapsedTimer &clock;
};

QByteArray signedText(const QByteArray &body)
{
    const QByteArray enveloped = "___TRVO_CONFIG_V1.1.0___{" + body + "}";
    return enveloped + "--"
           + QMessageAuthenticationCode::hash(enveloped, kReaderPassword, QCryptographicHash::Md5).toBase64();
}

// One call as the tool makes it; the reply's payload, or nothing when the
// call failed.
std::optional<QByteArray> call(intptr_t handle, int32_t command, const QByteArray &payload, int timeoutMs)
{
    rpc_buffer *request = rpc_buffer_new(payload.constData(), payload.size());
    rpc_buffer *reply = rpc_buffer_new(nullptr, 0);
    const int result = trpc_call(handle, command, request, &reply, timeoutMs, TRVO_CALL_AWAIT_REPLY);
    std::optional<QByteArray> answer;
    if (result >= 0)
        answer = QByteArray(rpc_buffer_data(reply), rpc_buffer_len(reply));
    rpc_buffer_free(reply);
    rpc_buffer_free(request);
    return answer;
}

struct Timing
{
    double median = 0;
    bool ok = true;
};

// The median time of the work, and whether every run of it succeeded.
// Between runs the simulator's output is read, so that it never blocks on a
// full pipe while the bench is not looking.
Timing timeRuns(const std::function<bool()> &work)
{
    Timing timing;
    QVector<double> runs;
    QElapsedTimer timer;
    for (int run = 0; run < kWarmUpRuns + kDeviceRuns; ++run) {
        timer.start();
        const bool ok = work();
        const double elapsed = timer.nsecsElapsed() / 1000.0;
        timing.ok = timing.ok && ok;
        if (run >= kWarmUpRuns)
            runs.append(elapsed);
        QCoreApplication::processEvents();
    }
    timing.median = median(runs);
    return timing;
}

struct ClickTiming
{
    double toBox = 0;    // the click until the box telling the outcome shows
    double toReturn = 0; // the click until the slot has returned
    bool ok = true;
};

// Clicks the button again and again; every click must end in a box saying
// success.
ClickTiming timeClicks(QAbstractButton *button, const QString &success)
{
    ClickTiming timing;
    QVector<double> toBox, toReturn;
    QElapsedTimer clock;
    BoxAnswerer answerer(clock);
    for (int run = 0; run < kWarmUpRuns + kDeviceRuns; ++run) {
        answerer.text.clear();
        clock.start();
        QTest::mouseClick(button, Qt::LeftButton);
        const double returned = clock.nsecsElapsed() / 1000.0;
        timing.ok = timing.ok && answerer.text == success;
        if (run < kWarmUpRuns)
            continue;
        toBox.append(answerer.shownAt / 1000.0);
        toReturn.append(returned);
    }
    timing.toBox = median(toBox);
    timing.toReturn = median(toReturn);
    return timing;
}

bool benchConnectAndSave()
{
    Widget window;
    window.show();
    formChild<QLineEdit>(window, "manpw")->setText(QString::fromLatin1(kReaderPassword));
    QAbstractButton *connectButton = formChild<QAbstractButton>(window, "connectBtn");
    QAbstractButton *saveButton = formChild<QAbstractButton>(window, "saveBtn");

    ReaderSim reader;
    if (!reader.start())
        return false;
    useDeviceSetting(reader.tcpSetting());
    const intptr_t handle = trvo_channel_open(TRVO_CHANNEL_CONFIG, 0);
    // The reader holds the full configuration that the import bench reads.
    if (!handle || call(handle, 1, signedText(kFullConfig), 800) != QByteArray(1, '\0'))
        return false;

    QuietStandardError quiet;
    const ClickTiming connect = timeClicks(connectButton, QString::fromUtf8("连接设备成功"));
    const ClickTiming save = timeClicks(saveButton, QString::fromUtf8("保存成功"));

    // What save sends: the signed text of the form as the connects left it.
    const QByteArray saved = WidgetProbe(window).buildConfigText().toUtf8();

    // A call that must be answered with the expected payload, or with any
    // payload at all when the expected one is null.
    const auto answers = [handle](int32_t command, const QByteArray &payload, int timeoutMs,
                                  const QByteArray &expected) {
        return [=] {
            const std::optional<QByteArray> answer = call(handle, command, payload, timeoutMs);
            return answer && (expected.isNull() ? !answer->isEmpty() : *answer == expected);
        };
    };
    const Timing readConfig = timeRuns(answers(2, QByteArray(), 300, QByteArray()));
    const Timing readVersion = timeRuns(answers(12, QByteArray(), 300, QByteArray()));
    const Timing write = timeRuns(answers(1, saved, 800, QByteArray(1, '\0')));
    trvo_channel_close(handle);

    // The verified save beside the bare store, on the channel the clicks
    // opened, and the comparison alone on the reader's text as read back.
    const QString savedText = QString::fromUtf8(saved);
    device::Session &session = formChild<DeviceSession>(window, "deviceSession")->reader();
    const Timing store = timeRuns([&] { return session.storeConfig(saved).stored == device::Stored::Yes; });
    const Timing verified =
        timeRuns([&] { return saveVerified(session, savedText).outcome == SaveReport::Saved; });
    const std::optional<QByteArray> readBack = session.readConfig();
    const Timing compare = timeRuns([&] {
        if (!readBack)
            return false;
        const config::ReadBackCheck check = config::compareReadBack(saved, *readBack);
        return !check.difference && !check.failure;
    });

    if (!connect.ok || !save.ok || !readConfig.ok || !readVersion.ok || !write.ok || !store.ok || !verified.ok
        || !compare.ok)
        return false;
    std::printf("| click | to the result box (µs) | to the slot's end (µs) | bare library calls (µs) |\n"
                "|---|---:|---:|---:|\n");
    std::printf("| `connectBtn` (commands 2 and 12, import) | %.0f | %.0f | %.0f |\n", connect.toBox,
                connect.toReturn, readConfig.median + readVersion.median);
    std::printf(
        "| `saveBtn` (assembly, signature, command 1, read-back and comparison) | %.0f | %.0f | %.0f |\n\n",
        save.toBox, save.toReturn, write.median);
    std::printf("| bare library call | median (µs) |\n|---|---:|\n");
    std::printf("| `trpc_call` command 2, the reader's text | %.0f |\n", readConfig.median);
    std::printf("| `trpc_call` command 12, the firmware version | %.0f |\n", readVersion.median);
    std::printf("| `trpc_call` command 1, a %d-byte signed text | %.0f |\n\n", int(saved.size()), write.median);
    std::printf("| save, device work only | median (µs) |\n|---|---:|\n");
    std::printf("| `device::storeConfig`, command 1 alone | %.0f |\n", store.median);
    std::printf("| `saveVerified`: command 1, read-back (command 2), comparison | %.0f |\n", verified.median);
    std::printf("| of which the comparison (`compareReadBack`, key by key) | %.0f |\n", compare.median);
    std::printf("| **extra cost of verifying** | **%.0f** |\n", verified.median - store.median);
    return true;
}

} // namespace

int main(int argc, char **argv)
{
    BenchApplication app(argc, argv);
    // The tool reads ./update_config.lua; the build tree holds a copy.
    QDir::setCurrent(QStringLiteral(TARVO_BUILD_DIR));

    std::printf("%s\n\n", qPrintable(machineSummary()));
    std::printf("Import of a full reader configuration (%d bytes, %d runs):\n\n", int(sizeof kFullConfig - 1),
                kImportRuns);
    if (!benchImport()) {
        std::fprintf(stderr, "an import did not get all %d keys\n", kImportedKeys);
        return 1;
    }
    std::printf("\nConnect and save against the reader simulator over loopback TCP (%d runs):\n\n", kDeviceRuns);
    if (!benchConnectAndSave()) {
        std::fprintf(stderr, "a connect or save against the simulator failed\n");
        return 1;
    }
    return 0;
}
