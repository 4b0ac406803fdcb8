// The bridge to the configuration script, driven by small scripts written
// for each case: answers and their conversions, failures of the script and
// their messages, the interrupt during the main chunk, buffer capacity and
// the height of the Lua stack.
#include <QtTest>

#include <chrono>
#include <csignal>
#include <pthread.h>
#include <thread>

#include <lua.hpp>

#include "script/script_bridge.h"
#include "script_fixture.h"

namespace {

// A script whose getter of the given name answers the Lua expression.
QByteArray answering(const char *getter, const QByteArray &expression)
{
    return "function " + QByteArray(getter) + "(key) return " + expression + " end\n";
}

struct sigaction currentSigint()
{
    struct sigaction action;
    sigaction(SIGINT, nullptr, &action);
    return action;
}

} // namespace

class ScriptBridgeTest : public QObject
{
    Q_OBJECT

private slots:
    void numberAnswers_data()
    {
        QTest::addColumn<QByteArray>("answer");
        QTest::addColumn<int>("result");
        QTest::addColumn<int>("value");
        QTest::addColumn<QByteArray>("message");

        const int untouched = 777;
        QTest::newRow("integer") << QByteArray("12") << 0 << 12 << QByteArray("key lvalue is 12\n");
        QTest::newRow("numeric string") << QByteArray("'12'") << 0 << 12 << QByteArray("key lvalue is 12\n");
        QTest::newRow("zero") << QByteArray("0") << 0 << 0 << QByteArray("key lvalue is 0\n");
        QTest::newRow("3.7 truncated") << QByteArray("3.7") << 0 << 3 << QByteArray("key lvalue is 3\n");
        QTest::newRow("-0.5 truncated") << QByteArray("-0.5") << 0 << 0 << QByteArray("key lvalue is 0\n");
        QTest::newRow("-2 kept") << QByteArray("-2") << 0 << -2 << QByteArray("key lvalue is -2\n");
        QTest::newRow("-1 means no value") << QByteArray("-1") << -1 << untouched << QByteArray();
        QTest::newRow("-1.5 means no value") << QByteArray("-1.5") << -1 << untouched << QByteArray();
        QTest::newRow("nil") << QByteArray("nil") << -1 << untouched << QByteArray("key  is not a number\n");
        QTest::newRow("table") << QByteArray("{}") << -1 << untouched << QByteArray("key  is not a number\n");
        QTest::newRow("word") << QByteArray("'abc'") << -1 << untouched << QByteArray("key  is not a number\n");
        QTest::newRow("largest") << QByteArray("2147483647") << 0 << 2147483647
                                 << QByteArray("key lvalue is 2147483647\n");
        QTest::newRow("smallest") << QByteArray("-2147483648.9") << 0 << int(-2147483647 - 1)
                                  << QByteArray("key lvalue is -2147483648\n");
        QTest::newRow("past largest") << QByteArray("2147483648") << -1 << untouched
                                      << QByteArray("key  is out of range\n");
        QTest::newRow("past smallest") << QByteArray("-2147483649") << -1 << untouched
                                       << QByteArray("key  is out of range\n");
        QTest::newRow("huge string") << QByteArray("'1e300'") << -1 << untouched
                                     << QByteArray("key  is out of range\n");
        QTest::newRow("infinity") << QByteArray("math.huge") << -1 << untouched
                                  << QByteArray("key  is out of range\n");
        QTest::newRow("not a number") << QByteArray("0/0") << -1 << untouched
                                      << QByteArray("key  is out of range\n");
        QTest::newRow("error") << QByteArray("error('no such key', 0)") << -1 << untouched
                               << QByteArray("error running function 'getvalue' : no such key\n");
    }

    void numberAnswers()
    {
        QFETCH(QByteArray, answer);
        QFETCH(int, result);
        QFETCH(int, value);
        QFETCH(QByteArray, message);

        ScriptDir dir;
        QVERIFY(dir.write(answering("getvalue_num", answer)));
        ScriptState state = openScript();
        QVERIFY(state);

        int32_t out = 777;
        StreamCapture err(stderr);
        const int got = script_getvalue_num(state.get(), "key", &out);
        QCOMPARE(err.text(), message);
        QCOMPARE(got, result);
        QCOMPARE(int(out), value);
        QCOMPARE(lua_gettop(state.get()), 0);
    }

    void stringAnswers_data()
    {
        QTest::addColumn<QByteArray>("answer");
        QTest::addColumn<int>("capacity");
        QTest::addColumn<int>("result");
        QTest::addColumn<QByteArray>("value");
        QTest::addColumn<int>("length");
        QTest::addColumn<QByteArray>("message");

        const int unset = 777;
        QTest::newRow("string") << QByteArray("'abc'") << 200 << 0 << QByteArray("abc") << 3 << QByteArray();
        QTest::newRow("number 5") << QByteArray("5") << 200 << 0 << QByteArray("5") << 1 << QByteArray();
        QTest::newRow("number 2.5") << QByteArray("2.5") << 200 << 0 << QByteArray("2.5") << 3 << QByteArray();
        QTest::newRow("empty") << QByteArray("''") << 200 << 0 << QByteArray("") << 0 << QByteArray();
        QTest::newRow("embedded NUL kept")
            << QByteArray("'a\\0b'") << 200 << 0 << QByteArray("a\0b", 3) << 3 << QByteArray();
        QTest::newRow("UTF-8 bytes") << QByteArray("'\\228\\184\\173'") << 200 << 0 << QByteArray("\xe4\xb8\xad")
                                     << 3 << QByteArray();
        QTest::newRow("fills the buffer")
            << QByteArray("'1234567'") << 8 << 0 << QByteArray("1234567") << 7 << QByteArray();
        QTest::newRow("one byte over") << QByteArray("'12345678'") << 8 << -1 << QByteArray() << 8
                                       << QByteArray("key  is too long: 8 bytes for a buffer of 8\n");
        QTest::newRow("far over") << QByteArray("string.rep('x', 1000)") << 20 << -1 << QByteArray() << 1000
                                  << QByteArray("key  is too long: 1000 bytes for a buffer of 20\n");
        QTest::newRow("no room at all") << QByteArray("''") << 0 << -1 << QByteArray() << 0
                                        << QByteArray("key  is too long: 0 bytes for a buffer of 0\n");
        QTest::newRow("nil") << QByteArray("nil") << 200 << -1 << QByteArray() << unset
                             << QByteArray("key  is not a string\n");
        QTest::newRow("table") << QByteArray("{}") << 200 << -1 << QByteArray() << unset
                               << QByteArray("key  is not a string\n");
        QTest::newRow("boolean") << QByteArray("true") << 200 << -1 << QByteArray() << unset
                                 << QByteArray("key  is not a string\n");
        QTest::newRow("error") << QByteArray("error('broken', 0)") << 200 << -1 << QByteArray() << unset
                               << QByteArray("error running function 'getvalue' : broken\n");
    }

    void stringAnswers()
    {
        QFETCH(QByteArray, answer);
        QFETCH(int, capacity);
        QFETCH(int, result);
        QFETCH(QByteArray, value);
        QFETCH(int, length);
        QFETCH(QByteArray, message);

        ScriptDir dir;
        QVERIFY(dir.write(answering("getvalue_str", answer)));
        ScriptState state = openScript();
        QVERIFY(state);

        // The buffer lies inside a larger one whose every byte starts as '#':
        // a refused value must leave all of it alone, an accepted one may
        // change only its bytes and the NUL behind them.
        QByteArray memory(256, '#');
        int32_t len = 777;
        StreamCapture err(stderr);
        const int got = script_getvalue_str(state.get(), "key", memory.data(), size_t(capacity), &len);
        QCOMPARE(err.text(), message);
        QCOMPARE(got, result);
        QCOMPARE(int(len), length);
        QByteArray expected(256, '#');
        if (result == 0)
            expected.replace(0, value.size() + 1, value + '\0');
        QCOMPARE(memory, expected);
        QCOMPARE(lua_gettop(state.get()), 0);
    }

    // Without a sink the bridge stays silent: a library never prints.
    void noSinkNoOutput()
    {
        ScriptDir dir;
        QVERIFY(dir.write("function getvalue_num() return 'x' end\n"));
        StreamCapture out(stdout);
        StreamCapture err(stderr);
        script_set_log_sink(nullptr);
        {
            ScriptState state = openScript();
            int32_t number = 0;
            char buffer[4];
            QCOMPARE(script_getvalue_num(state.get(), "a", &number), -1);
            QCOMPARE(script_getvalue_str(state.get(), "b", buffer, sizeof buffer, &number), -1);
            QCOMPARE(script_getvalue_str(state.get(), "c", nullptr, 0, &number), -1);
        }
        script_set_log_sink(bridgeLineToStandardError);
        QCOMPARE(out.text() + err.text(), QByteArray());
    }

    void nullBufferGetsOnlyTheLength()
    {
        ScriptDir dir;
        QVERIFY(dir.write(answering("getvalue_str", "'abcd'")));
        ScriptState state = openScript();

        int32_t len = 0;
        StreamCapture out(stdout);
        StreamCapture err(stderr);
        QCOMPARE(script_getvalue_str(state.get(), "key", nullptr, 200, &len), -1);
        QCOMPARE(err.text(), QByteArray("get str failed\n"));
        QCOMPARE(out.text(), QByteArray());
        QCOMPARE(int(len), 4);
        QCOMPARE(lua_gettop(state.get()), 0);
    }

    void updatecfgHandsOverTheTextUpToItsNul()
    {
        ScriptDir dir;
        QVERIFY(dir.write("function updatecfg(text) received = text end\n"
                          "function getvalue_str(key) return received end\n"));
        ScriptState state = openScript();

        const char text[] = "de_type=1\0,cr=1";
        QCOMPARE(script_updatecfg(state.get(), text), 0);
        char buffer[64];
        int32_t len = 0;
        QCOMPARE(script_getvalue_str(state.get(), "any", buffer, sizeof buffer, &len), 0);
        QCOMPARE(QByteArray(buffer, len), QByteArray("de_type=1"));
    }

    void updatecfgFailureIsReported()
    {
        ScriptDir dir;
        QVERIFY(dir.write("function updatecfg(text) error('cannot read ' .. text, 0) end\n"));
        ScriptState state = openScript();

        StreamCapture err(stderr);
        QCOMPARE(script_updatecfg(state.get(), "x=1"), -1);
        QCOMPARE(err.text(), QByteArray("error running function 'updatecfg' : cannot read x=1\n"));
        QCOMPARE(lua_gettop(state.get()), 0);
    }

    void errorValuesWithoutText()
    {
        // A script may raise any value; the messages must still be readable.
        ScriptDir dir;
        QVERIFY(dir.write("function updatecfg() error({}) end\n"
                          "function getvalue_num() error({}) end\n"
                          "function getvalue_str() error(setmetatable({}, {})) end\n"));
        ScriptState state = openScript();
        int32_t out = 0;
        char buffer[8];
        int32_t len = 0;

        StreamCapture err(stderr);
        QCOMPARE(script_updatecfg(state.get(), "x"), -1);
        QCOMPARE(script_getvalue_num(state.get(), "a", &out), -1);
        QCOMPARE(script_getvalue_str(state.get(), "b", buffer, sizeof buffer, &len), -1);
        QCOMPARE(err.text(), QByteArray("error running function 'updatecfg' : (error object is not a string)\n"
                                        "error running function 'getvalue' : (error object is not a string)\n"
                                        "error running function 'getvalue' : (error object is not a string)\n"));
        QCOMPARE(lua_gettop(state.get()), 0);
    }

    void missingScript()
    {
        ScriptDir dir; // holds no script
        StreamCapture openErr(stderr);
        ScriptState state = openScript();
        const QByteArray report = openErr.text();
        QVERIFY(state);
        QVERIFY2(report.startsWith(": cannot open ./update_config.lua"), report.constData());
        QCOMPARE(report.count('\n'), 1);
        QCOMPARE(lua_gettop(state.get()), 0);

        int32_t out = 5;
        char buffer[16] = "untouched";
        int32_t len = 3;
        StreamCapture err(stderr);
        QCOMPARE(script_updatecfg(state.get(), "de_type=1"), -1);
        QCOMPARE(script_getvalue_num(state.get(), "de_type", &out), -1);
        QCOMPARE(script_getvalue_str(state.get(), "prefix", buffer, sizeof buffer, &len), -1);
        QCOMPARE(err.text(), QByteArray("error running function 'updatecfg' : attempt to call a nil value\n"
                                        "error running function 'getvalue' : attempt to call a nil value\n"
                                        "error running function 'getvalue' : attempt to call a nil value\n"));
        QCOMPARE(int(out), 5);
        QCOMPARE(QByteArray(buffer), QByteArray("untouched"));
        QCOMPARE(int(len), 3);
        QCOMPARE(lua_gettop(state.get()), 0);
    }

    void failingMainChunk_data()
    {
        QTest::addColumn<QByteArray>("source");
        QTest::addColumn<QByteArray>("reportStart");
        QTest::addColumn<bool>("withTraceback");

        const QByteArray define = "function getvalue_num(key) return 42 end\n";
        QTest::newRow("runtime error") << define + "error('boom')\n"
                                       << QByteArray(": ./update_config.lua:2: boom\n") << true;
        QTest::newRow("error in a called function")
            << define + "local function inner() local t = nil; return t.x end\ninner()\n"
            << QByteArray(": ./update_config.lua:2: attempt to index local 't' (a nil value)\n") << true;
        QTest::newRow("error object is a table") << define + "error({})\n"
                                                 << QByteArray(": (error object is not a string)\n") << false;
        QTest::newRow("debug library gone") << define + "debug = nil\nerror('plain')\n"
                                            << QByteArray(": ./update_config.lua:3: plain\n") << false;
        QTest::newRow("traceback replaced") << define + "debug.traceback = 1\nerror('plain')\n"
                                            << QByteArray(": ./update_config.lua:3: plain\n") << false;
        QTest::newRow("syntax error after the definition") << define + "this is not lua\n"
                                                           << QByteArray(": ./update_config.lua:2: ") << false;
    }

    void failingMainChunk()
    {
        QFETCH(QByteArray, source);
        QFETCH(QByteArray, reportStart);
        QFETCH(bool, withTraceback);

        ScriptDir dir;
        QVERIFY(dir.write(source));
        // The second state loads the script's kept compiled form, and must
        // fail and report the same.
        StreamCapture firstErr(stderr);
        ScriptState first = openScript();
        const QByteArray firstReport = firstErr.text();
        StreamCapture err(stderr);
        ScriptState state = openScript();
        const QByteArray report = err.text();
        QVERIFY(state);
        QVERIFY2(report.startsWith(reportStart), report.constData());
        QCOMPARE(report, firstReport);
        QCOMPARE(report.contains("stack traceback:"), withTraceback);
        if (!withTraceback)
            QCOMPARE(report.count('\n'), 1);
        QCOMPARE(lua_gettop(state.get()), 0);

        // A chunk that ran up to its error keeps what it defined before;
        // one that did not compile defines nothing.
        const bool ran = !QByteArray(QTest::currentDataTag()).startsWith("syntax");
        int32_t out = 0;
        QCOMPARE(script_getvalue_num(state.get(), "key", &out), ran ? 0 : -1);
        QCOMPARE(int(out), ran ? 42 : 0);
    }

    void stateTakesTheScriptAsTheFileHoldsItNow_data()
    {
        QTest::addColumn<QByteArray>("first");
        QTest::addColumn<QByteArray>("second");
        QTest::addColumn<int>("answer");

        const QByteArray one = answering("getvalue_num", "1");
        QTest::newRow("unchanged") << one << one << 1;
        QTest::newRow("rewritten, same length") << one << answering("getvalue_num", "2") << 2;
        QTest::newRow("rewritten, longer") << one << answering("getvalue_num", "1234") << 1234;
        QTest::newRow("first line a comment") << "#!/usr/bin/lua\n" + one << "#!/usr/bin/lua\n" + one << 1;
        QTest::newRow("emptied") << one << QByteArray() << -1;
    }

    void stateTakesTheScriptAsTheFileHoldsItNow()
    {
        QFETCH(QByteArray, first);
        QFETCH(QByteArray, second);
        QFETCH(int, answer);

        ScriptDir dir;
        QVERIFY(dir.write(first));
        int32_t out = -1;
        const unsigned long firstSource = script_source_id(openScript().get());
        QCOMPARE(script_kept_source_id(), firstSource);
        QCOMPARE(script_getvalue_num(openScript().get(), "key", &out), 0);
        QVERIFY(dir.write(second));
        // Without a state, the file tells whether it still holds the source kept.
        QCOMPARE(script_kept_source_id() == firstSource, first == second);
        const ScriptState state = openScript();
        if (!second.isEmpty())
            QCOMPARE(script_kept_source_id(), script_source_id(state.get()));
        out = -1;
        StreamCapture err(stderr);
        QCOMPARE(script_getvalue_num(state.get(), "key", &out), answer < 0 ? -1 : 0);
        QCOMPARE(int(out), answer);
    }

    void interruptStopsTheMainChunk()
    {
        ScriptDir dir;
        QVERIFY(dir.write("function getvalue_num(key) return 7 end\n"
                          "while true do end\n"));

        // The test framework has its own SIGINT handler; start from one we
        // know, so that the bridge's own handler is recognisable.
        struct sigaction original;
        struct sigaction ignore = {};
        ignore.sa_handler = SIG_IGN;
        sigaction(SIGINT, &ignore, &original);

        // Interrupt the main thread once the bridge has installed its handler
        // (the chunk is then running and loops until interrupted).
        const pthread_t mainThread = pthread_self();
        bool sent = false;
        std::thread interrupter([&] {
            const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
            while (std::chrono::steady_clock::now() < deadline) {
                const auto handler = currentSigint().sa_handler;
                if (handler != SIG_IGN && handler != SIG_DFL) {
                    sent = pthread_kill(mainThread, SIGINT) == 0;
                    return;
                }
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
            }
        });

        StreamCapture err(stderr);
        ScriptState state = openScript();
        const QByteArray report = err.text();
        interrupter.join();
        const auto afterwards = currentSigint().sa_handler;
        sigaction(SIGINT, &original, nullptr);

        QVERIFY(sent);
        QVERIFY(state);
        QVERIFY2(report.startsWith(": interrupted!\nstack traceback:"), report.constData());
        // The disposition from before the run is back.
        QVERIFY(afterwards == SIG_IGN);
        QCOMPARE(lua_gettop(state.get()), 0);

        // The hook is gone: the state still runs the script's functions.
        int32_t out = 0;
        QCOMPARE(script_getvalue_num(state.get(), "key", &out), 0);
        QCOMPARE(int(out), 7);
    }

    void stackHeightUnchangedByAnyMixOfCalls()
    {
        ScriptDir dir;
        // Each getter answers according to its key, so that one state walks
        // every path of the bridge; getvalue_num also replaces itself, which
        // the bridge must see on the next call.
        QVERIFY(dir.write("function updatecfg(text) if text == 'fail' then error('refused') end end\n"
                          "local answers = { ok = 3, none = -1, word = 'x', table = {}, big = 1e12,\n"
                          "                  text = 'value', long = string.rep('y', 300) }\n"
                          "local function answer(key)\n"
                          "  if key == 'raise' then error('raised') end\n"
                          "  return answers[key]\n"
                          "end\n"
                          "getvalue_str = answer\n"
                          "function getvalue_num(key)\n"
                          "  if key == 'swap' then getvalue_num = function() return 9 end return 1 end\n"
                          "  return answer(key)\n"
                          "end\n"));
        ScriptState state = openScript();
        lua_State *L = state.get();
        QCOMPARE(lua_gettop(L), 0);

        // Heights are gathered while the bridge's messages are captured and
        // compared afterwards, so that a failure report is not captured too.
        QVector<int> heights;
        int32_t number = 0;
        char buffer[200];
        int32_t len = 0;
        const char *const keys[] = {"ok", "none", "word", "table", "big", "text", "long", "raise", "missing"};
        {
            StreamCapture err(stderr);
            StreamCapture out(stdout);
            script_updatecfg(L, "fine");
            heights << lua_gettop(L);
            script_updatecfg(L, "fail");
            heights << lua_gettop(L);
            for (int round = 0; round < 3; ++round) {
                for (const char *key : keys) {
                    script_getvalue_num(L, key, &number);
                    heights << lua_gettop(L);
                    script_getvalue_str(L, key, buffer, sizeof buffer, &len);
                    heights << lua_gettop(L);
                    script_getvalue_str(L, key, nullptr, sizeof buffer, &len);
                    heights << lua_gettop(L);
                }
            }
        }
        QCOMPARE(heights, QVector<int>(heights.size(), 0));
        QCOMPARE(script_getvalue_num(L, "swap", &number), 0);
        QCOMPARE(int(number), 1);
        QCOMPARE(script_getvalue_num(L, "swap", &number), 0);
        QCOMPARE(int(number), 9);
        QCOMPARE(lua_gettop(L), 0);
    }
};

QTEST_GUILESS_MAIN(ScriptBridgeTest)
#include "test_script_bridge.moc"
