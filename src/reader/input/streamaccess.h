// How the stream-reading layers reach a C stream's bytes.
//
// The caller holds the stream's lock for the duration of a next() call, so
// the unlocked variants are safe and spare a lock per line or value.
//
// With glibc a line or value that lies wholly in the stream's buffer is
// taken from there directly: the get area [_IO_read_ptr, _IO_read_end) is
// public, and getc_unlocked itself reads it and moves _IO_read_ptr, so the
// stream ends up exactly where fgets or getc would leave it. Everything
// else (a piece that crosses the buffer's end, the end of the stream) takes
// the portable path.
#ifndef OSTRA_READER_STREAMACCESS_H
#define OSTRA_READER_STREAMACCESS_H

#include <cstdio>

#if defined(__GLIBC__)
#define OSTRA_FGETS fgets_unlocked
#define OSTRA_GETC getc_unlocked
#define OSTRA_DIRECT 1
#else
#define OSTRA_FGETS fgets
#define OSTRA_GETC getc
#define OSTRA_DIRECT 0
#endif

#endif
