// SPDX-License-Identifier: MIT
#pragma once
// libmdb's header opens an extern "C" block before including glib, whose C++
// templates cannot live in one; including glib first keeps them outside. A
// libmdb built without glib (the Windows build) brings its own small
// replacement, which is plain C.
#if __has_include(<glib.h>)
#include <glib.h>
#endif
#include <mdbtools.h>
