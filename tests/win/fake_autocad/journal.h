// SPDX-License-Identifier: MIT
#pragma once
// The record a test reads back: one UTF-8 line per thing that happened to the
// server (a call, a refusal, an object created or released), in order.
#include <string>

namespace fake_autocad {

// Lines go to path from now on; an empty path keeps no journal.
void OpenJournal(const std::wstring& path);
void Note(const std::wstring& line);
// Later notes are dropped: what COM releases while the process winds down
// must not read as the client's doing.
void CloseJournal();

// text with control characters written as escapes (CR as \r), so that a
// command string stays on one line and its CR can still be checked.
std::wstring Printable(const std::wstring& text);

} // namespace fake_autocad
