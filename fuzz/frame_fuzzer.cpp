// Feeds arbitrary received bytes to the frame decoder, twice: as one block,
// and in pieces of varying size through a receive buffer the size of the
// device library's, dropping what the decoder lets go as the library does.
// Both readings must find the same frames and failures in the same order and
// keep the same undecided tail; every frame found must be exactly the bytes
// the encoder makes of it.
//
// A third reading is the library's wait for a reply, fed in time slices
// with pauses between them, on a link with or without a line rate: it must
// never wait past its bound, and whatever it decides before its time runs
// out must be what the whole stream holds first for the awaited request.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "trvo/frame.h"
#include "trvo/reply.h"

namespace {

const size_t kReceiveCapacity = TRVO_FRAME_HEADER_SIZE + TRVO_FRAME_MAX_PAYLOAD + TRVO_FRAME_TRAILER_SIZE;

struct Event
{
    int status; // a trvo_frame_status other than INCOMPLETE
    int kind;
    uint16_t seq;
    int32_t command;
    std::vector<unsigned char> payload;

    bool operator==(const Event &other) const
    {
        return status == other.status && kind == other.kind && seq == other.seq && command == other.command
               && payload == other.payload;
    }
};

[[noreturn]] void fail(const char *what)
{
    std::fprintf(stderr, "frame_fuzzer: %s\n", what);
    std::abort();
}

// Decodes what the buffer holds until the decoder waits for more, recording
// each decision and dropping the bytes it releases.
void drain(std::vector<unsigned char> &buffer, std::vector<Event> &events)
{
    for (;;) {
        trvo_frame frame;
        std::memset(&frame, 0, sizeof frame);
        size_t consumed = 0;
        const trvo_frame_status status = trvo_frame_decode(buffer.data(), buffer.size(), &frame, &consumed);
        if (consumed > buffer.size())
            fail("consumed more than it was given");
        if (status == TRVO_FRAME_INCOMPLETE) {
            buffer.erase(buffer.begin(), buffer.begin() + long(consumed));
            if (buffer.size() >= kReceiveCapacity)
                fail("a full receive buffer still waits for more");
            return;
        }
        if (consumed == 0)
            fail("a decision released no bytes");

        Event event{int(status), 0, 0, 0, {}};
        if (status == TRVO_FRAME_OK) {
            const size_t size = trvo_frame_size(frame.length);
            if (size > consumed)
                fail("a frame larger than the bytes released");
            const unsigned char *start = buffer.data() + consumed - size;
            if (frame.payload != start + TRVO_FRAME_HEADER_SIZE)
                fail("the payload does not follow the frame's header");
            std::vector<unsigned char> again(size);
            if (trvo_frame_encode(again.data(), size, frame.kind, frame.seq, frame.command, frame.payload,
                                  frame.length)
                    != size
                || std::memcmp(again.data(), start, size) != 0)
                fail("a decoded frame differs from its encoding");
            event.kind = frame.kind;
            event.seq = frame.seq;
            event.command = frame.command;
            event.payload.assign(frame.payload, frame.payload + frame.length);
        }
        events.push_back(std::move(event));
        buffer.erase(buffer.begin(), buffer.begin() + long(consumed));
    }
}

// Piece sizes from a small generator seeded by the input itself, so that a
// mutation of the bytes also moves the cuts: mostly short pieces, now and
// then a long one.
struct Pieces
{
    uint32_t state;

    size_t next()
    {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        return (state & 7) == 0 ? 1 + state % 4096 : 1 + state % 24;
    }
};

const int64_t kMs = 1000000;

// What the whole stream holds first for the awaited request: its answer,
// or a broken frame; null when neither comes.
const Event *firstDecision(const std::vector<Event> &events, uint16_t seq, int32_t command)
{
    for (const Event &event : events) {
        if (event.status != TRVO_FRAME_OK
            || (event.kind != TRVO_FRAME_REQUEST && event.seq == seq && event.command == command))
            return &event;
    }
    return nullptr;
}

void waitInSlices(const uint8_t *data, size_t size, const std::vector<Event> &events)
{
    // Await the last answer the stream holds, so that others come before it.
    uint16_t seq = 0;
    int32_t command = 0;
    for (const Event &event : events) {
        if (event.status == TRVO_FRAME_OK && event.kind != TRVO_FRAME_REQUEST) {
            seq = event.seq;
            command = event.command;
        }
    }
    Pieces pieces{trvo_crc32(data, size) ^ 0x9E3779B9u};
    static const int64_t byteTimes[] = {0, 86806, 1041666}; // TCP, 115200 and 9600 baud
    const int64_t byteNs = byteTimes[pieces.next() % 3];
    const int64_t deadline = 300 * kMs;
    const int64_t latest = deadline + int64_t(trvo_frame_size(TRVO_FRAME_MAX_PAYLOAD)) * byteNs;

    std::vector<unsigned char> rx(REPLY_CAPACITY);
    reply_wait wait;
    reply_begin(&wait, rx.data(), seq, command, deadline, byteNs);
    int64_t now = 0;
    trvo_frame frame;
    reply_status status = REPLY_WAITING;
    for (size_t offset = 0; offset <= size && status == REPLY_WAITING;) {
        size_t room = 0;
        unsigned char *space = reply_space(&wait, &room);
        if (room == 0)
            fail("the reply wait has no room for more");
        const size_t count = std::min({pieces.next(), room, size - offset});
        std::memcpy(space, data + offset, count);
        offset += count == 0 ? 1 : count;
        const size_t pause = pieces.next();
        // Mostly well within a byte's wire time, now and then a long stall.
        now += pause > 24 ? int64_t(pause % 200) * kMs : int64_t(pause) * 50000;
        status = reply_take(&wait, count, now, &frame);
        const int64_t limit = reply_limit(&wait);
        if (limit < deadline || limit > latest)
            fail("the reply wait's limit lies outside its bounds");
        if (status == REPLY_WAITING && now >= limit)
            fail("the reply wait went on past its limit");
        if (status == REPLY_TIMED_OUT && now < limit)
            fail("the reply wait ended before its limit");
    }

    const Event *decision = firstDecision(events, seq, command);
    if (status == REPLY_TIMED_OUT)
        return;
    if (status == REPLY_WAITING) {
        if (decision)
            fail("the reply wait missed its answer or a broken frame");
        return;
    }
    if (!decision || (status == REPLY_BROKEN) != (decision->status != TRVO_FRAME_OK))
        fail("the reply wait decided otherwise than the whole stream");
    if (status == REPLY_FOUND
        && (frame.kind != decision->kind || frame.seq != seq || frame.command != command
            || std::vector<unsigned char>(frame.payload, frame.payload + frame.length) != decision->payload))
        fail("the reply wait found another answer");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    std::vector<unsigned char> whole(data, data + size);
    std::vector<Event> wholeEvents;
    drain(whole, wholeEvents);

    std::vector<unsigned char> buffer;
    std::vector<Event> pieceEvents;
    Pieces pieces{trvo_crc32(data, size) | 1u};
    for (size_t offset = 0; offset < size;) {
        const size_t room = kReceiveCapacity - buffer.size();
        size_t count = pieces.next();
        if (count > room)
            count = room;
        if (count > size - offset)
            count = size - offset;
        buffer.insert(buffer.end(), data + offset, data + offset + count);
        offset += count;
        drain(buffer, pieceEvents);
    }

    if (!(wholeEvents == pieceEvents))
        fail("pieces and the whole stream decode differently");
    if (buffer != whole)
        fail("pieces and the whole stream leave different tails");
    waitInSlices(data, size, wholeEvents);
    return 0;
}
