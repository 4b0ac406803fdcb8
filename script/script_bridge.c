#include "script/script_bridge.h"

#include <pthread.h>
#include <signal.h>
#include <stdarg.h>
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <lauxlib.h>
#include <lua.h>
#include <lualib.h>

static const char script_path[] = "./update_config.lua";
/* Where a state keeps its script_load, in its registry. */
static const char script_load_key[] = "tarvo.script_load";
/* And which kept source its script was compiled from (script_source_id). */
static const char script_source_key[] = "tarvo.script_source";

/* The state whose main chunk is running, for the SIGINT handler; null
 * outside that run. */
static lua_State *script_running_state = NULL;

static script_log_sink script_sink = NULL;

void script_set_log_sink(script_log_sink sink)
{
    script_sink = sink;
}

/* One diagnostic line to the sink; a line longer than the buffer is cut. */
static void script_log(const char *format, ...) __attribute__((format(printf, 1, 2)));

static void script_log(const char *format, ...)
{
    char line[1024];
    va_list args;

    if (!script_sink)
        return;
    va_start(args, format);
    vsnprintf(line, sizeof line, format, args);
    va_end(args);
    script_sink(line);
}

/* One diagnostic line: "prefix: text". */
static void script_message(const char *prefix, const char *text)
{
    script_log("%s%s%s", prefix ? prefix : "", prefix ? ": " : "", text);
}

/* The error value on top of the stack as text; scripts may raise any value,
 * and one without a string form must not reach a "%s". */
static const char *script_error_text(lua_State *L)
{
    const char *text = lua_tostring(L, -1);
    return text ? text : "(error object is not a string)";
}

/* Reports a failed load or run once and pops its error value. */
static void script_report(lua_State *L, int status)
{
    if (status && !lua_isnil(L, -1)) {
        script_message("", script_error_text(L));
        lua_pop(L, 1);
    }
}

/* Message handler of the main chunk's run: appends a stack traceback to a
 * string message when the debug library is still there to make one. */
static int script_traceback(lua_State *L)
{
    if (!lua_isstring(L, 1))
        return 1;
    lua_getfield(L, LUA_GLOBALSINDEX, "debug");
    if (lua_type(L, -1) != LUA_TTABLE) {
        lua_pop(L, 1);
        return 1;
    }
    lua_getfield(L, -1, "traceback");
    if (lua_type(L, -1) != LUA_TFUNCTION) {
        lua_pop(L, 2);
        return 1;
    }
    lua_pushvalue(L, 1);
    lua_pushinteger(L, 2); /* skip this handler and traceback itself */
    lua_call(L, 2, 1);
    return 1;
}

/* Raised at the first Lua instruction after a SIGINT. */
static void script_stop_hook(lua_State *L, lua_Debug *record)
{
    (void)record;
    lua_sethook(L, NULL, 0, 0);
    luaL_error(L, "interrupted!");
}

/* Only asks the running chunk to stop at its next step; a second SIGINT
 * ends the process as usual. */
static void script_on_sigint(int sig)
{
    signal(sig, SIG_DFL);
    lua_sethook(script_running_state, script_stop_hook, LUA_MASKCALL | LUA_MASKRET | LUA_MASKCOUNT, 1);
}

static int script_run_chunk(lua_State *L)
{
    int base = lua_gettop(L);
    int status;
    struct sigaction previous;
    int interruptible;

    lua_pushcclosure(L, script_traceback, 0);
    lua_insert(L, base);
    /* A program that handles SIGINT itself (a batch that stops on it) keeps
     * its handler throughout; only the default action or ignoring it is
     * stood in for, and put back afterwards. */
    sigaction(SIGINT, NULL, &previous);
    interruptible =
        !(previous.sa_flags & SA_SIGINFO) && (previous.sa_handler == SIG_DFL || previous.sa_handler == SIG_IGN);
    if (interruptible) {
        script_running_state = L;
        signal(SIGINT, script_on_sigint);
    }
    status = lua_pcall(L, 0, 0, base);
    if (interruptible) {
        sigaction(SIGINT, &previous, NULL);
        script_running_state = NULL;
    }
    lua_remove(L, base);
    if (status != 0)
        lua_gc(L, LUA_GCCOLLECT, 0);
    return status;
}

/* The script's source as last compiled, and its compiled form. Every state
 * loads the script anew, and compiling the source is most of what opening a
 * state costs; a batch of readers opens several states a reader, so while
 * the file holds the same source a state loads the compiled form instead. */
struct script_compiled
{
    unsigned long id; /* counts the sources kept, from 1 */
    char *source;
    size_t source_length;
    char *bytes;
    size_t length;
};
static struct script_compiled script_cache;
static pthread_mutex_t script_cache_lock = PTHREAD_MUTEX_INITIALIZER;

/* A script larger than this is compiled from the file every time. */
enum { SCRIPT_MOST_CACHED_BYTES = 1 << 20 };

struct script_buffer
{
    char *bytes;
    size_t length;
    size_t capacity;
};

static int script_append(struct script_buffer *buffer, const void *part, size_t size)
{
    if (buffer->length + size > buffer->capacity) {
        size_t capacity = buffer->capacity ? buffer->capacity : 4096;
        char *grown;
        while (capacity < buffer->length + size)
            capacity *= 2;
        grown = realloc(buffer->bytes, capacity);
        if (!grown)
            return 1;
        buffer->bytes = grown;
        buffer->capacity = capacity;
    }
    memcpy(buffer->bytes + buffer->length, part, size);
    buffer->length += size;
    return 0;
}

static int script_dump_writer(lua_State *L, const void *part, size_t size, void *target)
{
    (void)L;
    return script_append(target, part, size);
}

/* The file's bytes; none when it cannot be read or is too large to keep. */
static struct script_buffer script_read_source(void)
{
    struct script_buffer source = {NULL, 0, 0};
    char part[4096];
    size_t got;
    FILE *file = fopen(script_path, "rb");
    if (!file)
        return source;
    while ((got = fread(part, 1, sizeof part, file)) > 0)
        if (source.length + got > SCRIPT_MOST_CACHED_BYTES || script_append(&source, part, got) != 0)
            break;
    if (ferror(file) || !feof(file)) {
        free(source.bytes);
        source.bytes = NULL;
    }
    fclose(file);
    return source;
}

static int script_same_source(const struct script_buffer *a, const char *bytes, size_t length)
{
    return a->bytes && a->length == length && memcmp(a->bytes, bytes, length) == 0;
}

/* Keeps the function on top of the stack, compiled from source, as the
 * source's compiled form: 1 when kept, 0 when it could not be. */
static int script_remember(lua_State *L, struct script_buffer *source)
{
    struct script_buffer dump = {NULL, 0, 0};
    if (lua_dump(L, script_dump_writer, &dump) != 0) {
        free(dump.bytes);
        return 0;
    }
    free(script_cache.source);
    free(script_cache.bytes);
    ++script_cache.id;
    script_cache.source = source->bytes;
    script_cache.source_length = source->length;
    script_cache.bytes = dump.bytes;
    script_cache.length = dump.length;
    source->bytes = NULL;
    return 1;
}

/* The script's main chunk onto the stack, as luaL_loadfile leaves it; in
 * *source_id the kept source it is, 0 for one not kept. */
static int script_load(lua_State *L, unsigned long *source_id)
{
    struct script_buffer source = script_read_source();
    int status;
    *source_id = 0;
    if (!source.bytes)
        return luaL_loadfile(L, script_path);
    pthread_mutex_lock(&script_cache_lock);
    if (script_cache.source && script_same_source(&source, script_cache.source, script_cache.source_length)) {
        status = luaL_loadbuffer(L, script_cache.bytes, script_cache.length, script_path);
        *source_id = script_cache.id;
    } else {
        status = luaL_loadfile(L, script_path);
        if (status == 0) {
            /* Kept only when the file did not change while it compiled. */
            struct script_buffer after = script_read_source();
            if (script_same_source(&after, source.bytes, source.length) && script_remember(L, &source))
                *source_id = script_cache.id;
            free(after.bytes);
        }
    }
    pthread_mutex_unlock(&script_cache_lock);
    free(source.bytes);
    return status;
}

lua_State *script_open(void)
{
    lua_State *L = luaL_newstate();
    int status;
    enum script_load load;
    unsigned long source_id;

    if (!L) {
        script_message("lua_open", "没有足够的内存, lua_State创建失败");
        return NULL;
    }
    lua_gc(L, LUA_GCSTOP, 0);
    luaL_openlibs(L);
    lua_gc(L, LUA_GCRESTART, 0);

    status = script_load(L, &source_id);
    load = status == LUA_ERRFILE ? SCRIPT_MISSING : status != 0 ? SCRIPT_FAILED : SCRIPT_LOADED;
    if (status == 0 && script_run_chunk(L) != 0)
        load = SCRIPT_FAILED;
    script_report(L, load != SCRIPT_LOADED);
    lua_pushinteger(L, load);
    lua_setfield(L, LUA_REGISTRYINDEX, script_load_key);
    lua_pushnumber(L, (lua_Number)source_id);
    lua_setfield(L, LUA_REGISTRYINDEX, script_source_key);
    return L;
}

unsigned long script_source_id(lua_State *L)
{
    unsigned long id;
    lua_getfield(L, LUA_REGISTRYINDEX, script_source_key);
    id = (unsigned long)lua_tonumber(L, -1);
    lua_pop(L, 1);
    return id;
}

unsigned long script_kept_source_id(void)
{
    struct script_buffer source = script_read_source();
    unsigned long id = 0;
    pthread_mutex_lock(&script_cache_lock);
    if (script_cache.source && script_same_source(&source, script_cache.source, script_cache.source_length))
        id = script_cache.id;
    pthread_mutex_unlock(&script_cache_lock);
    free(source.bytes);
    return id;
}

enum script_load script_load_status(lua_State *L)
{
    lua_getfield(L, LUA_REGISTRYINDEX, script_load_key);
    const enum script_load load = (enum script_load)lua_tointeger(L, -1);
    lua_pop(L, 1);
    return load;
}

int script_updatecfg(lua_State *L, const char *text)
{
    lua_getfield(L, LUA_GLOBALSINDEX, "updatecfg");
    lua_pushstring(L, text);
    if (lua_pcall(L, 1, 0, 0) != 0) {
        script_log("error running function 'updatecfg' : %s", script_error_text(L));
        lua_pop(L, 1);
        return -1;
    }
    return 0;
}

/* Calls the script's getter for the key; on success its one answer is on
 * top of the stack, on failure nothing is left there. */
static int script_call_getter(lua_State *L, const char *getter, const char *key)
{
    lua_getfield(L, LUA_GLOBALSINDEX, getter);
    lua_pushstring(L, key);
    if (lua_pcall(L, 1, 1, 0) != 0) {
        script_log("error running function 'getvalue' : %s", script_error_text(L));
        lua_pop(L, 1);
        return -1;
    }
    return 0;
}

int script_getvalue_num(lua_State *L, const char *key, int32_t *out)
{
    lua_Number number;
    int32_t value;

    if (script_call_getter(L, "getvalue_num", key) != 0)
        return -1;
    if (!lua_isnumber(L, -1)) {
        script_log("%s  is not a number", key);
        lua_pop(L, 1);
        return -1;
    }
    number = lua_tonumber(L, -1);
    lua_pop(L, 1);
    /* Converting NaN or a number beyond the 32-bit range is undefined;
     * the comparisons are false for NaN. */
    if (!(number > (lua_Number)INT32_MIN - 1 && number < (lua_Number)INT32_MAX + 1)) {
        script_log("%s  is out of range", key);
        return -1;
    }
    value = (int32_t)number;
    if (value == -1)
        return -1;
    script_log("%s lvalue is %d", key, (int)value);
    *out = value;
    return 0;
}

int script_getvalue_str(lua_State *L, const char *key, char *dst, size_t capacity, int32_t *len_out)
{
    const char *bytes;
    size_t length;

    if (script_call_getter(L, "getvalue_str", key) != 0)
        return -1;
    if (!lua_isstring(L, -1)) {
        script_log("%s  is not a string", key);
        lua_pop(L, 1);
        return -1;
    }
    bytes = lua_tolstring(L, -1, &length);
    *len_out = length > INT32_MAX ? INT32_MAX : (int32_t)length;
    if (!dst) {
        lua_pop(L, 1);
        script_log("get str failed");
        return -1;
    }
    if (length >= capacity) {
        lua_pop(L, 1);
        script_log("%s  is too long: %lu bytes for a buffer of %lu", key, (unsigned long)length,
                   (unsigned long)capacity);
        return -1;
    }
    memcpy(dst, bytes, length);
    dst[length] = '\0';
    lua_pop(L, 1);
    return 0;
}

void script_close(lua_State *L)
{
    if (L)
        lua_close(L);
}
