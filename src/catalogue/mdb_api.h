#pragma once
// libmdb's header opens an extern "C" block before including glib, whose C++
// templates cannot live in one; including glib first keeps them outside.
#include <glib.h>
#include <mdbtools.h>
