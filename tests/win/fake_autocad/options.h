// SPDX-License-Identifier: MIT
#pragma once
#include "busy_filter.h"

#include <string>
#include <vector>

namespace fake_autocad {

enum class Mode {
    Register,    // /regserver: make "AutoCAD.Application" start this program
    Unregister,  // /unregserver
    Run,         // /run: a running host, found in the Running Object Table
    Embedding,   // -Embedding: started by COM to create an application object
    Stop,        // /stop: end every instance, started with /run or by COM
};

struct Options {
    Mode mode = Mode::Run;
    std::wstring journal;  // /journal FILE
    // /busy N, /busy-after N, /busy-answer retry-later|rejected,
    // /busy-seconds N, /busy-after-open N, /never-ready
    BusyPlan busy;
    int startDelaySeconds = 0;  // /start-delay N: started by COM, the class is registered N s late
    bool holdDrawings = false;  // /hold-drawings: opened drawings stay open, not shared for writing
};

struct ParsedOptions {
    bool ok = false;
    Options options;
    std::wstring error;
};

ParsedOptions ParseOptions(const std::vector<std::wstring>& arguments);

// The options that shape a server (journal, busy plan) as a command line
// tail, quoted, for the registered server command.
std::wstring ServerArguments(const Options& options);

extern const wchar_t kUsage[];

} // namespace fake_autocad
