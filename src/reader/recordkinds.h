// The kinds of records, from their names: what the record assembly needs to
// know of a record before its producer sees it. A new kind of record is a
// value here, a line in kindof() and one in the table of kinds
// (recordkinds.cpp), and a line in the dispatch (readerstate.cpp).
#ifndef OSTRA_READER_RECORDKINDS_H
#define OSTRA_READER_RECORDKINDS_H

#include <cstddef>
#include <cstring>

namespace ostra {

// The kind of the record being collected.
enum entitykind {
    knone = 0,
    klayer = 1,
    kline = 2,
    kpolyline = 3,  // POLYLINE header or LWPOLYLINE
    kvertex = 4,
    kseqend = 5,
    karc = 6,
    kcircle = 7,
    kinsert = 8,
    kblock = 9,
    kendblk = 10,
    kellipse = 11,
    keof = 12,        // the EOF record: the drawing ends
    ksection = 13,
    kendsec = 14,
    kheadervar = 15,  // a header variable: group 9 in the HEADER section
    k3dface = 16,
    ksolid = 17,      // SOLID or TRACE
    kdimension = 18,
    kleader = 19,
    kspline = 20,     // SPLINE or HELIX
    kpoint = 21,
    kinds = 22,
};

// The section being read, as far as reading cares.
enum sectionkind { snone, sheader, stables, sblocks, sentities, sother };

// Whether the name of length n is word; the length known, the compare is a
// few loads.
template <std::size_t N>
bool is(const char* name, int n, const char (&word)[N]) {
    return n == static_cast<int>(N - 1) && std::memcmp(name, word, N - 1) == 0;
}

// The kind of a new record from its name (of length n). VERTEX and SEQEND
// count only inside a polyline (oldkind is the record before).
int kindof(const char* name, int n, int oldkind);
// The name under which a record of kind named name delivers its geometry
// (the pieces of VERTEX and SEQEND records are their POLYLINE's); null for
// kinds that deliver none.
const char* recordname(int kind, const char* name);
// Whether records of kind give geometry only in the exact reading.
bool exactonly(int kind);
// The section a SECTION record's name (group 2) opens.
sectionkind sectionof(const char* name);

}  // namespace ostra

#endif
