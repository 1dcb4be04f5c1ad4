// SPDX-License-Identifier: MIT
#pragma once
#include <QStringList>
#include <QTemporaryFile>

namespace catalogue {

// libmdb tells about damaged pages on stderr with fprintf ("Oops! didn't
// get a full page", "Warning: defaulting to brute force read"). While an
// object of this class lives, the process's stderr (file descriptor 2) goes
// to a temporary file, so the lines can be handed back with the load result
// instead of reaching the user ahead of our reason. Anything else written to
// stderr meanwhile is caught as well. When stderr cannot be redirected, it
// stays as it is and nothing is caught.
class LibmdbOutput {
public:
    LibmdbOutput();
    ~LibmdbOutput();
    LibmdbOutput(const LibmdbOutput&) = delete;
    LibmdbOutput& operator=(const LibmdbOutput&) = delete;

    // Ends the redirection; the lines written meanwhile, without empty ones.
    QStringList finish();

private:
    void restore();

    QTemporaryFile file_;
    int savedStderr_ = -1;
};

// Whether LibmdbOutput redirects stderr at all (it does unless told
// otherwise). The fuzzer turns it off: a sanitizer's report of a fault inside
// libmdb must reach the terminal, not a temporary file.
void CatchLibmdbOutput(bool catchIt);

} // namespace catalogue
