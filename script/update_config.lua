-- update_config.lua: reads a reader's configuration text for tarvo-config.
--
-- The tool runs this file once, hands the reader's text to updatecfg(text)
-- and then asks getvalue_num(key) and getvalue_str(key) for single keys.
--
-- Text accepted:
--   [___TRVO_CONFIG_V<version>___{] key=value,key=value,... [}] [--signature]
-- * With the envelope head, the entries end at the last "}" of the text and
--   whatever follows it (the signature) is ignored. Only a head that no
--   "key=" comes before counts: one inside a value is part of that value. Without the head, a
--   trailing "--" followed by Base64 characters is taken as the signature and
--   ignored.
-- * Entries are separated by commas; blanks before a key are skipped.
-- * A value starting with ' is quoted: it ends at the first ' that is followed
--   by a comma or by the end of the entries, so it may hold commas and lone
--   quotes. Any other value runs to the next comma.
-- * A key given twice keeps its last value.
--
-- Untrusted input never raises an error; what cannot be read is skipped:
-- * a piece without "key=" is dropped up to the next comma;
-- * a quoted value that is never closed drops that entry and ends the text;
-- * an empty text, or one that is not a string, holds no values.
-- Each updatecfg call forgets the values of the text before.
--
-- Answers:
-- * getvalue_num: the value when it is a decimal integer (optionally signed,
--   blanks around it allowed); -1 when the key is missing or not a number.
--   st and len hold one character and are answered with its character code
--   ("st=3" gives 51), -1 when the value is not exactly one byte.
-- * getvalue_str: the value without its quotes; nil when the key is missing.

local values = {}

local CHARACTER_CODE_KEYS = { st = true, len = true }

-- Position of the quote that closes a value opened just before 'from'.
local function closing_quote(text, from)
    local quote = string.find(text, "'", from, true)
    while quote do
        local after = string.sub(text, quote + 1, quote + 1)
        if after == "" or after == "," then
            return quote
        end
        quote = string.find(text, "'", quote + 1, true)
    end
    return nil
end

-- Position of the last occurrence of a plain character, or nil. Found in
-- one pass: a pattern such as ".*()}" retries from every position and takes
-- quadratic time on a long text that lacks the character.
local function last_position(text, char)
    local last = nil
    local at = string.find(text, char, 1, true)
    while at do
        last = at
        at = string.find(text, char, at + 1, true)
    end
    return last
end

-- The entries of a text, without envelope and signature.
local function entries_of(text)
    local head_start, head_end = string.find(text, "___TRVO_CONFIG_V[%w%.]*___{")
    if head_start and string.find(string.sub(text, 1, head_start - 1), "=", 1, true) then
        head_start, head_end = nil, nil
    end
    if head_end then
        local body = string.sub(text, head_end + 1)
        local tail = last_position(body, "}")
        if tail then
            body = string.sub(body, 1, tail - 1)
        end
        return body
    end
    local signature = string.find(text, "%-%-[%w+/=]*%s*$")
    if signature then
        return string.sub(text, 1, signature - 1)
    end
    return text
end

local function parse(text)
    local parsed = {}
    local body = entries_of(text)
    local pos = 1
    while true do
        pos = string.find(body, "[^,%s]", pos)
        if not pos then
            break
        end
        local key, value_start = string.match(body, "^([%w_]+)=()", pos)
        if not key then
            local comma = string.find(body, ",", pos, true)
            if not comma then
                break
            end
            pos = comma + 1
        elseif string.sub(body, value_start, value_start) == "'" then
            local close = closing_quote(body, value_start + 1)
            if not close then
                break
            end
            parsed[key] = string.sub(body, value_start + 1, close - 1)
            pos = close + 1
        else
            local comma = string.find(body, ",", value_start, true) or #body + 1
            parsed[key] = string.sub(body, value_start, comma - 1)
            pos = comma + 1
        end
    end
    return parsed
end

function updatecfg(text)
    if type(text) ~= "string" then
        text = ""
    end
    values = parse(text)
end

function getvalue_num(key)
    local value = values[key]
    if type(value) ~= "string" then
        return -1
    end
    if CHARACTER_CODE_KEYS[key] then
        if #value == 1 then
            return string.byte(value)
        end
        return -1
    end
    local digits = string.match(value, "^%s*([%-+]?%d+)%s*$")
    return digits and tonumber(digits) or -1
end

function getvalue_str(key)
    return values[key]
end
