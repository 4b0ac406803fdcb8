// Feeds arbitrary received bytes to the frame decoder, twice: as one block,
// and in pieces of varying size through a receive buffer the size of the
// device library's, dropping what the decoder lets go as the library does.
// Both readings must find the same frames and failures in the same order and
// keep the same undecided tail; every frame found must be exactly the bytes
// the encoder makes of it.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "trvo/frame.h"

namespace {

const size_t kReceiveCapacity =
    TRVO_FRAME_HEADER_SIZE + TRVO_FRAME_MAX_PAYLOAD + TRVO_FRAME_TRAILER_SIZE;

struct Event
{
    int status; // a trvo_frame_status other than INCOMPLETE
    int kind;
    uint16_t seq;
    int32_t command;
    std::vector<unsigned char> payload;

    bool operator==(const Event &other) const
    {
        return status == other.status && kind == other.kind && seq == other.seq
            && command == other.command && payload == other.payload;
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
        const trvo_frame_status status =
            trvo_frame_decode(buffer.data(), buffer.size(), &frame, &consumed);
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
            if (trvo_frame_encode(again.data(), size, frame.kind, frame.seq, frame.command,
                                  frame.payload, frame.length) != size
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
    return 0;
}
