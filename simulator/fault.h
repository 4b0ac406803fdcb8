#ifndef TARVO_SIMULATOR_FAULT_H
#define TARVO_SIMULATOR_FAULT_H

#include <QString>
#include <cstdint>

// Ways in which the simulated reader misbehaves on purpose, for tests.
enum class Fault {
    None,         // answer properly
    NoAnswer,     // drop the request
    Late,         // answer after the late delay
    Garbage,      // answer with line noise instead of a frame
    Short,        // send only the first half of the answer
    Oversize,     // announce a payload over the bound
    Close,        // close the connection (pty: unplug and plug in again)
    Refuse,       // answer with a refusal frame
    BadChecksum,  // answer with a corrupted payload checksum
    Unterminated, // text answers without their NUL
    Empty,        // answers with an empty payload
    Alter,        // apply a configuration, then store another brightness
    Vanish        // carry out the request, hang up unanswered, then answer nothing
};

struct FaultSetting
{
    Fault fault = Fault::None;
    int32_t command = 0; // the command it applies to; 0 for every command
};

// "MODE" or "MODE:COMMAND", MODE one of the names listed by faultNames().
bool parseFault(const QString &text, FaultSetting *setting);
QString faultText(const FaultSetting &setting);
QString faultNames();

// Whether the reader still carries out a request that meets this fault.
bool faultCarriesOut(Fault fault);

#endif
