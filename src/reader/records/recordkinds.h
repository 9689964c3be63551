// The kinds of records, from their names: what the record assembly needs to
// know of a record before its producer sees it. A new kind of record is a
// value here, a line in kindof() and one in the table of kinds below, and a
// line in the dispatch (readerstate.cpp).
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
    kdimstyle = 22,         // a DIMSTYLE table entry
    kblockrecord = 23,      // a BLOCK_RECORD table entry
    karcdimension = 24,     // ARC_DIMENSION: a dimension as DIMENSION is
    klargeradial = 25,      // LARGE_RADIAL_DIMENSION: the same
    ktext = 26,             // TEXT
    kmtext = 27,            // MTEXT
    kattrib = 28,           // ATTRIB
    kattdef = 29,           // ATTDEF
    ktable = 30,            // ACAD_TABLE: its block placed as an insert
    kmleader = 31,          // MULTILEADER
    kstyle = 32,            // a STYLE table entry
    khatch = 33,            // HATCH or MPOLYGON, read when the host asks
    kwipeout = 34,          // WIPEOUT, the same
    kltype = 35,            // an LTYPE table entry
    kproxy = 36,            // ACAD_PROXY_ENTITY, read when the host asks
    kinds = 37,
};

// Whether records of kind are read only when texts are.
inline bool textkind(int kind) { return kind >= ktext && kind <= kstyle; }

// The section being read, as far as reading cares.
enum sectionkind { snone, sheader, stables, sblocks, sentities, sother };

// Whether the name of length n is word; the length known, the compare is a
// few loads.
template <std::size_t N>
bool is(const char* name, int n, const char (&word)[N]) {
    return n == static_cast<int>(N - 1) && std::memcmp(name, word, N - 1) == 0;
}

// The kind of a new record from its name (of length n). VERTEX and SEQEND
// count only inside a polyline (oldkind is the record before). Inline: it
// runs for every record.
inline int kindof(const char* name, int n, int oldkind) {
    switch (name[0]) {
    case 'L':
        if (is(name, n, "LINE")) return kline;
        if (is(name, n, "LAYER")) return klayer;
        if (is(name, n, "LWPOLYLINE")) return kpolyline;
        if (is(name, n, "LEADER")) return kleader;
        if (is(name, n, "LARGE_RADIAL_DIMENSION")) return klargeradial;
        if (is(name, n, "LTYPE")) return kltype;
        break;
    case 'P':
        if (is(name, n, "POLYLINE")) return kpolyline;
        if (is(name, n, "POINT")) return kpoint;
        break;
    case 'V':
        if (is(name, n, "VERTEX") && (oldkind == kpolyline || oldkind == kvertex)) return kvertex;
        break;
    case 'S':
        if (is(name, n, "SEQEND") && (oldkind == kpolyline || oldkind == kvertex)) return kseqend;
        if (is(name, n, "SECTION")) return ksection;
        if (is(name, n, "SOLID")) return ksolid;
        if (is(name, n, "SPLINE")) return kspline;
        if (is(name, n, "STYLE")) return kstyle;
        break;
    case 'A':
        if (is(name, n, "ARC")) return karc;
        if (is(name, n, "ARC_DIMENSION")) return karcdimension;
        if (is(name, n, "ATTRIB")) return kattrib;
        if (is(name, n, "ATTDEF")) return kattdef;
        if (is(name, n, "ACAD_TABLE")) return ktable;
        if (is(name, n, "ACAD_PROXY_ENTITY")) return kproxy;
        break;
    case 'C':
        if (is(name, n, "CIRCLE")) return kcircle;
        break;
    case 'B':
        if (is(name, n, "BLOCK")) return kblock;
        if (is(name, n, "BLOCK_RECORD")) return kblockrecord;
        break;
    case 'E':
        if (is(name, n, "ENDBLK")) return kendblk;
        if (is(name, n, "ELLIPSE")) return kellipse;
        if (is(name, n, "EOF")) return keof;
        if (is(name, n, "ENDSEC")) return kendsec;
        break;
    case 'I':
        if (is(name, n, "INSERT")) return kinsert;
        break;
    case 'D':
        if (is(name, n, "DIMENSION")) return kdimension;
        if (is(name, n, "DIMSTYLE")) return kdimstyle;
        break;
    case 'T':
        if (is(name, n, "TRACE")) return ksolid;
        if (is(name, n, "TEXT")) return ktext;
        break;
    case 'M':
        if (is(name, n, "MTEXT")) return kmtext;
        if (is(name, n, "MULTILEADER") || is(name, n, "MLEADER")) return kmleader;
        if (is(name, n, "MPOLYGON")) return khatch;
        break;
    case 'H':
        if (is(name, n, "HELIX")) return kspline;
        if (is(name, n, "HATCH")) return khatch;
        break;
    case '3':
        if (is(name, n, "3DFACE")) return k3dface;
        break;
    case 'W':
        if (is(name, n, "WIPEOUT")) return kwipeout;
        break;
    default:
        break;
    }
    return knone;
}

// What a kind's records deliver: their name (two names where one kind
// stands for two records, told apart by the first letter of the record's
// own name), and whether only the exact reading reads them.
struct kindfacts {
    const char* name;
    const char* other;  // the name of the kind's second record, or null
    char otherletter;
    bool exactonly;
};

inline constexpr kindfacts kindtable[kinds] = {
    {nullptr, nullptr, 0, false},                // knone
    {nullptr, nullptr, 0, false},                // klayer
    {"LINE", nullptr, 0, false},                 // kline
    {"POLYLINE", "LWPOLYLINE", 'L', false},      // kpolyline
    {"POLYLINE", nullptr, 0, false},             // kvertex
    {"POLYLINE", nullptr, 0, false},             // kseqend
    {"ARC", nullptr, 0, false},                  // karc
    {"CIRCLE", nullptr, 0, false},               // kcircle
    {nullptr, nullptr, 0, false},                // kinsert
    {nullptr, nullptr, 0, false},                // kblock
    {nullptr, nullptr, 0, false},                // kendblk
    {"ELLIPSE", nullptr, 0, true},               // kellipse
    {nullptr, nullptr, 0, false},                // keof
    {nullptr, nullptr, 0, false},                // ksection
    {nullptr, nullptr, 0, false},                // kendsec
    {nullptr, nullptr, 0, false},                // kheadervar
    {"3DFACE", nullptr, 0, true},                // k3dface
    {"SOLID", "TRACE", 'T', true},               // ksolid
    {"DIMENSION", nullptr, 0, true},             // kdimension
    {"LEADER", nullptr, 0, true},                // kleader
    {"SPLINE", "HELIX", 'H', true},              // kspline
    {"POINT", nullptr, 0, true},                 // kpoint
    {nullptr, nullptr, 0, true},                 // kdimstyle: read for leaders
    {nullptr, nullptr, 0, true},                 // kblockrecord: read for leaders
    {"ARC_DIMENSION", nullptr, 0, true},         // karcdimension
    {"LARGE_RADIAL_DIMENSION", nullptr, 0, true},  // klargeradial
    {"TEXT", nullptr, 0, false},                 // ktext
    {"MTEXT", nullptr, 0, false},                // kmtext
    {"ATTRIB", nullptr, 0, false},               // kattrib
    {"ATTDEF", nullptr, 0, false},               // kattdef
    {nullptr, nullptr, 0, false},                // ktable: its block's records
    {"MULTILEADER", nullptr, 0, false},          // kmleader
    {nullptr, nullptr, 0, false},                // kstyle
    {"HATCH", "MPOLYGON", 'M', false},           // khatch
    {"WIPEOUT", nullptr, 0, false},              // kwipeout
    {nullptr, nullptr, 0, false},                // kltype
    {"ACAD_PROXY_ENTITY", nullptr, 0, true},     // kproxy
};

// The name under which a record of kind named name delivers its geometry
// (the pieces of VERTEX and SEQEND records are their POLYLINE's); null for
// kinds that deliver none.
inline const char* recordname(int kind, const char* name) {
    const kindfacts& f = kindtable[kind];
    return f.other && name[0] == f.otherletter ? f.other : f.name;
}

// Whether records of kind are areas, read only when the host asks.
inline bool areakind(int kind) { return kind == khatch || kind == kwipeout; }

// Whether records of kind give geometry only in the exact reading.
inline bool exactonly(int kind) { return kindtable[kind].exactonly; }

// The section a SECTION record's name (group 2) opens.
sectionkind sectionof(const char* name);

}  // namespace ostra

#endif
