// The graphics of a proxy entity: what a custom entity left for programs
// that do not know it (ACAD_PROXY_ENTITY 92 and 310; other entities carry
// the same as their proxy graphics, 92 or 160 and 310), decoded from the
// bytes into calls of a sink.
//
// The stream, all little-endian (RL 32-bit integer, RD 64-bit double, 3RD
// three of them; TV an 8-bit text and TU a UTF-16 text, each ending in a
// NUL and padded with NULs to a multiple of four bytes): RL total size, RL
// number of primitives, then each primitive as RL size (its whole size,
// these 8 bytes included), RL type and its data:
//   1 extents (3RD, 3RD): skipped
//   2 circle: 3RD centre, RD radius, 3RD normal
//   3 circle through three points: 3RD, 3RD, 3RD
//   4 arc: 3RD centre, RD radius, 3RD normal, 3RD start direction, RD sweep
//     (radians, counterclockwise about the normal), RL arc type
//   5 arc through three points: 3RD start, 3RD a point on it, 3RD end, RL arc type
//   6 polyline, 7 polygon: RL n, n 3RD
//   8 mesh: RL rows, RL columns, rows x columns 3RD row by row, then the
//     edge, face and vertex traits (skipped)
//   9 shell: RL n, n 3RD, RL face list size, the face list (RL each: a
//     count c, then |c| vertex indices; a negative c is a hole in the face
//     before), then the traits (skipped)
//   10 text: 3RD position, 3RD normal, 3RD direction, RD height, RD width
//      factor, RD oblique angle, TV text
//   11 text: 3RD position, 3RD normal, 3RD direction, TV text, RL length
//      (-1: up to the NUL), RL raw, RD height, RD width factor, RD oblique
//      angle, RD tracking, RL backwards, RL upside down, RL vertical, RL
//      underlined, RL overlined, TV font file, TV big font file
//   12 xline, 13 ray (3RD, 3RD): skipped, as they have no end
//   14 colour (RL index: 0 BYBLOCK, 256 BYLAYER), 16 layer (RL index into
//      the drawing's layer table), 18 linetype (RL index), 19 marker (RL),
//      20 fill (RL), 22 true colour (RL), 23 lineweight (RL), 24 linetype
//      scale (RD), 25 thickness (RD): the state handed with each primitive
//   26 plot style, 27 and 28 push and pop clip, 34 material, 35 mapper,
//      37: skipped
//   29 push model transform: 16 RD, a 4x4 matrix row by row (the
//      translation in the last column; a matrix whose last column is
//      0 0 0 1 and last row is not is taken as stored column by column);
//      30 the same, or (with fewer than 128 bytes of data) a 3RD normal:
//      the object coordinate system of that normal (arbitrary axis
//      algorithm); 31 pop. A push multiplies the
//      current transform by the matrix (the matrix is applied first). The
//      last row is taken as 0 0 0 1.
//   32 polyline with normal: RL n, n 3RD, 3RD normal
//   33 lwpolyline: RL byte count, then the LWPOLYLINE's bit-coded data of a
//      DWG file of R2000 on (BS flags; BD constant width if flag 4, BD
//      elevation if 8, BD thickness if 2, 3BD normal if 1; BL points; BL
//      bulges if 16; BL vertex ids if 1024; BL widths if 32; the points, the
//      first 2RD, the next 2DD from the one before; BD bulges; BL ids; BD
//      start and end widths; closed if flag 512). Widths are not used.
//   36 text as 10 with a TU text; 38 text as 11 with a TU text, of which
//      the text, length, raw flag, height, width factor and oblique angle
//      are used.
// All geometry reaches the sink transformed by the current model transform:
// world coordinates of the entity.
//
// Bad data: a stream shorter than its header, a primitive size below 8 or
// beyond the bytes left, or bytes that end before the declared number of
// primitives, ends decoding (fault, with its offset); what came before
// stands. Bytes after the declared number of primitives are not read. A total size beyond the bytes given is a cut stream (cut)
// and decoding runs to the bytes' end; a smaller one (at least 8) ends the
// stream there. A primitive whose data does not fit its size or makes no
// sense (counts beyond the bytes, face indices out of range, a text without
// its NUL, values that are not finite, three points on a line) is skipped
// and counted (bad); a type not known too (unknown). Every count is checked
// against the bytes that remain before anything is read or allocated, so
// the work and memory are linear in the bytes given (plus the sink's);
// model transforms nest at most maxproxydepth deep (deeper pushes are bad,
// and so are pops without a push).
#ifndef OSTRA_SUPPORT_PROXYGRAPHICS_H
#define OSTRA_SUPPORT_PROXYGRAPHICS_H

#include <climits>
#include <cstddef>
#include <cstdint>

#include <brevo/types.h>

namespace ostra {

constexpr int maxproxydepth = 64;
constexpr int proxyunset = INT_MIN;

// The attributes that hold for the primitives after them; proxyunset until
// the stream gives one.
struct proxystate {
    int color = proxyunset;          // 14
    std::uint32_t truecolor = 0;     // 22 as given: 0xC2RRGGBB a true colour, 0xC3 and an index, 0xC0 BYLAYER, 0xC1 BYBLOCK
    bool hastruecolor = false;       // 22 came after the last 14
    int layer = proxyunset;          // 16
    int linetype = proxyunset;       // 18
    int marker = proxyunset;         // 19
    int lineweight = proxyunset;     // 23, hundredths of a millimetre or -1 BYLAYER, -2 BYBLOCK, -3 default
    bool fill = false;               // 20
    double ltscale = 1;              // 24
    double thickness = 0;            // 25
};

// A circle or arc after the model transform (an ellipse where the transform
// does not keep shapes): the points centre + u cos t + v sin t for t from 0
// to sweep.
struct proxyarc {
    brevo::point centre;
    brevo::vector u, v;
    double sweep = 0;        // radians, in (0, 2 pi]
    bool full = false;       // a whole circle
    int arctype = 0;         // 0 an arc, 1 a sector (to the centre), 2 closed by its chord
    brevo::vector normal;    // u x v made unit
};

// The radius and the start and end angles (degrees, counterclockwise in the
// object coordinate system of the arc's normal) when the arc is circular (u
// and v of equal length within 1e-9 and perpendicular within 1e-9).
bool arccircle(const proxyarc& a, double& radius, double& start, double& end);

struct proxytext {
    int type = 10;                   // the primitive: 10, 11, 36 or 38
    brevo::point position;
    brevo::vector normal, direction;
    double height = 0, widthfactor = 1, oblique = 0;  // oblique in radians
    const char* text = "";           // length bytes, not ended by a NUL
    std::size_t length = 0;
    bool utf8 = false;               // UTF-8 (from a TU text), else in the drawing's code page
    bool raw = false;                // 11, 38: no control codes in the text
    double tracking = 1;             // 11
    bool backwards = false, upsidedown = false, vertical = false, underlined = false, overlined = false;
    const char* font = "";           // 11: the font file and big font file, NUL-ended
    const char* bigfont = "";
};

// The calls decoding makes. Points are handed only for the call's length.
class proxysink {
public:
    virtual ~proxysink() = default;
    virtual void polyline(const proxystate&, const brevo::point*, std::size_t) {}  // 2 points or more
    virtual void polygon(const proxystate&, const brevo::point*, std::size_t) {}   // closed, filled when the state says fill
    virtual void circle(const proxystate&, const proxyarc&) {}
    virtual void arc(const proxystate&, const proxyarc&) {}
    virtual void mesh(const proxystate&, std::size_t, std::size_t, const brevo::point*) {}  // rows, columns, points
    // Points and the face list (entries, each index checked to be below
    // the point count).
    virtual void shell(const proxystate&, const brevo::point*, std::size_t, const std::int32_t*, std::size_t) {}
    virtual void text(const proxystate&, const proxytext&) {}
};

struct proxyresult {
    std::uint32_t declared = 0;    // the header's number of primitives
    std::uint32_t decoded = 0;     // primitives read to their end (whatever they did)
    std::uint32_t skipped = 0;     // of those, kinds that draw nothing here
    std::uint32_t bad = 0;         // primitives left out for their data
    std::uint32_t unknown = 0;     // primitives of types not known
    bool cut = false;              // the total size says more bytes than were given
    bool fault = false;            // decoding stopped at faultat
    std::size_t faultat = 0;
};

proxyresult decodeproxy(const unsigned char* data, std::size_t size, proxysink& sink);

}  // namespace ostra

#endif
