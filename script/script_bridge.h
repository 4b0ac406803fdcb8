#ifndef TARVO_SCRIPT_SCRIPT_BRIDGE_H
#define TARVO_SCRIPT_SCRIPT_BRIDGE_H

/*
 * The bridge to the configuration script ./update_config.lua (relative to
 * the working directory). The script parses a reader's configuration text
 * in its global function updatecfg(text) and answers per-key questions in
 * getvalue_num(key) and getvalue_str(key).
 *
 * Order of use: script_open, script_updatecfg once, any number of queries,
 * script_close. Every failure is returned as -1 and described by one line to
 * the log sink, as is every number answered; no call changes the height of
 * the state's stack.
 */

#include <stddef.h>
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

typedef struct lua_State lua_State;

/* Receives each diagnostic line of the bridge, without a newline. The bridge
 * never prints: without a sink (the start) its lines are dropped. */
typedef void (*script_log_sink)(const char *line);
void script_set_log_sink(script_log_sink sink);

/* A new state with the standard libraries open and the script's main chunk
 * run. A script that is missing or fails is reported once and the state is
 * still returned, without the functions the script did not define. Null only
 * when no state could be created. */
lua_State *script_open(void);

enum script_load { SCRIPT_LOADED = 0, SCRIPT_MISSING = 1, SCRIPT_FAILED = 2 };

/* How the script fared in script_open: loaded and run, not found (or not
 * readable), or failed to compile or to run. */
enum script_load script_load_status(lua_State *L);

/* Which source the state's script was compiled from: states with the same
 * number other than 0 ran the same source, and a script that read a text in
 * one of them reads it alike in the others; 0 when that is not known. */
unsigned long script_source_id(lua_State *L);
/* The number script_source_id would give a state opened now, without
 * opening one: that of the kept compiled source when the file still holds
 * it, 0 otherwise. */
unsigned long script_kept_source_id(void);

/* Hands the text (up to its first NUL) to the script's updatecfg.
 * 0 when it ran without error, -1 otherwise. */
int script_updatecfg(lua_State *L, const char *text);

/* The script's number for the key, truncated toward zero. 0 with the value
 * stored in *out; -1 with *out untouched when the call fails, the answer is
 * not a number or lies outside the 32-bit range, or the answer is -1 (the
 * script's way of saying that the key has no value). */
int script_getvalue_num(lua_State *L, const char *key, int32_t *out);

/* The script's string for the key (a number answer in its string form).
 * On 0, dst holds the value's bytes and a NUL, and *len_out the count of
 * bytes without the NUL. -1 when the call fails, the answer is no string,
 * dst is null, or the value with its NUL needs more than capacity bytes;
 * dst is never written past capacity bytes. In the last two cases *len_out
 * still receives the value's length. */
int script_getvalue_str(lua_State *L, const char *key, char *dst, size_t capacity, int32_t *len_out);

/* Releases the state; a null state is ignored. */
void script_close(lua_State *L);

#ifdef __cplusplus
}
#endif

#endif
