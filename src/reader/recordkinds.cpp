#include "reader/recordkinds.h"

namespace ostra {

// The kind of a new record from its name (of length n). VERTEX and SEQEND
// count only inside a polyline.
int kindof(const char* name, int n, int oldkind) {
    switch (name[0]) {
    case 'L':
        if (is(name, n, "LINE")) return kline;
        if (is(name, n, "LAYER")) return klayer;
        if (is(name, n, "LWPOLYLINE")) return kpolyline;
        if (is(name, n, "LEADER")) return kleader;
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
        break;
    case 'A':
        if (is(name, n, "ARC")) return karc;
        break;
    case 'C':
        if (is(name, n, "CIRCLE")) return kcircle;
        break;
    case 'B':
        if (is(name, n, "BLOCK")) return kblock;
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
        break;
    case 'T':
        if (is(name, n, "TRACE")) return ksolid;
        break;
    case 'H':
        if (is(name, n, "HELIX")) return kspline;
        break;
    case '3':
        if (is(name, n, "3DFACE")) return k3dface;
        break;
    default:
        break;
    }
    return knone;
}

namespace {

// What a kind's records deliver: their name (two names where one kind
// stands for two records, told apart by the first letter of the record's
// own name), and whether only the exact reading reads them.
struct kindfacts {
    const char* name;
    const char* other;  // the name of the kind's second record, or null
    char otherletter;
    bool exactonly;
};

const kindfacts facts[kinds] = {
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
};

}  // namespace

const char* recordname(int kind, const char* name) {
    const kindfacts& f = facts[kind];
    return f.other && name[0] == f.otherletter ? f.other : f.name;
}

bool exactonly(int kind) { return facts[kind].exactonly; }

sectionkind sectionof(const char* name) {
    if (std::strcmp(name, "HEADER") == 0) return sheader;
    if (std::strcmp(name, "TABLES") == 0) return stables;
    if (std::strcmp(name, "BLOCKS") == 0) return sblocks;
    if (std::strcmp(name, "ENTITIES") == 0) return sentities;
    return sother;
}

}  // namespace ostra
