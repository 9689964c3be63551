// ostra::reader: reads an ASCII DXF drawing forward from a C stream and
// returns its entities one at a time as brevo::geometry values.
#ifndef OSTRA_READER_H
#define OSTRA_READER_H

#include <cstdio>

#include <brevo/geometry.h>
#include <ostra/version.h>

namespace ostra {

class readerstate;

class reader {
public:
    // Reads from stream, which the caller opened and closes after the reader
    // is gone. If the reader's tables cannot be allocated, next() returns
    // null at once and every enumeration is empty.
    explicit reader(FILE* stream);
    ~reader();
    reader(const reader&) = delete;
    reader& operator=(const reader&) = delete;

    // Makes out hold the next entity and returns &out; returns null (with out
    // invalid) at the end of the stream or after a malformed group-code line,
    // for which a diagnostic is printed to standard output.
    brevo::geometry* next(brevo::geometry& out);
    // The same into a new geometry that the caller deletes; null at the end.
    brevo::geometry* next();

    // Exact reading, off by default; set it before reading. Bulges become
    // arcs, closed polylines (bit 1 of group 70) get their closing piece,
    // entities are placed by their extrusion directions, and ELLIPSE records
    // are read. The default reading keeps polylines straight and flat.
    void setexact(bool exact);

    // Restricts output to the comma-separated layer names; null or "" removes
    // the filter.
    void setlayerfilter(const char* names);
    // The layer of the geometry last returned by next(); null before any.
    const char* currentlayer();
    // The layers of the entities considered for output, in order of first
    // use; count is 0 at the first use and grows by 1 at every later one.
    int numlayer();
    const char* firstlayer();
    const char* firstlayer(int& count);
    const char* nextlayer();
    const char* nextlayer(int& count);

    // The block whose entity next() returned last (the innermost one for
    // nested inserts); null when the last result did not come from a block.
    const char* currentblock();
    // The blocks defined, in order of definition, with their entity counts.
    int numblock();
    const char* firstblock();
    const char* firstblock(int& n);
    const char* nextblock();
    const char* nextblock(int& n);

private:
    readerstate* state_;
};

}  // namespace ostra

#endif
