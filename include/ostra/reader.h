// ostra::reader: reads a DXF drawing, in the text or the binary form,
// forward from a C stream or from memory and returns its entities one at a
// time as brevo::geometry values.
#ifndef OSTRA_READER_H
#define OSTRA_READER_H

#include <cstddef>
#include <cstdio>

#include <brevo/geometry.h>
#include <ostra/fill.h>
#include <ostra/readstatus.h>
#include <ostra/text.h>
#include <ostra/version.h>

namespace ostra {

class readerstate;

class reader {
public:
    // Reads from stream, which the caller opened and closes after the reader
    // is gone. If the reader's tables cannot be allocated, next() returns
    // null at once and every enumeration is empty. A stream that begins
    // with the sentinel of the binary form is read as binary DXF.
    explicit reader(FILE* stream);
    // Reads the size bytes at data, which stay the caller's and must outlive
    // the reader, exactly as from a stream that holds them, without stdio.
    reader(const char* data, std::size_t size);
    ~reader();
    reader(const reader&) = delete;
    reader& operator=(const reader&) = delete;

    using readstatus = ostra::readstatus;
    static constexpr readstatus reading = ostra::reading;
    static constexpr readstatus endofdrawing = ostra::endofdrawing;
    static constexpr readstatus endofstream = ostra::endofstream;
    static constexpr readstatus malformedcode = ostra::malformedcode;
    static constexpr readstatus outofmemory = ostra::outofmemory;
    static constexpr readstatus limitreached = ostra::limitreached;

    // Makes out hold the next entity and returns &out; returns null (with out
    // invalid) at the EOF record, at the end of the stream, after a malformed
    // group-code line (for which a diagnostic is printed), when memory ran
    // out or at the work limit; status() says which. At the EOF record
    // reading stops: nothing after its value line is read, so the host may
    // read on from there.
    brevo::geometry* next(brevo::geometry& out);
    // The same into a new geometry that the caller deletes; null at the end.
    brevo::geometry* next();

    // Why the last next() returned null; reading while it goes on. After
    // endofstream or malformedcode a further next() reads on (from the line
    // after the bad one; binary input cannot be read on after a bad code and
    // ends); after endofdrawing, outofmemory and limitreached it returns null.
    readstatus status() const;
    // The number of the last line read, counted from 1 (a code line and its
    // value line are two). For binary input: the number of bytes read, the
    // sentinel included.
    long line() const;
    // For a reader from memory: the number of bytes read so far, where a
    // stream holding them would stand (after the EOF record, right behind
    // its value). 0 for a reader from a stream, whose own position tells.
    std::size_t offset() const;
    // The trimmed text of the malformed group-code line when status() is
    // malformedcode ("unknown binary group code N" for binary input); null
    // otherwise.
    const char* badline() const;
    // Where the diagnostic for a malformed group-code line is printed:
    // standard output by default; null for nowhere.
    void setmessages(FILE* stream);

    // Exact reading, off by default; set it before reading: what a CAD
    // program draws, and nothing it hides. Bulges become arcs, closed
    // polylines (bit 1 of group 70) get their closing piece, entities are
    // placed by their extrusion directions; ELLIPSE, SPLINE, HELIX, POINT,
    // 3DFACE, SOLID, TRACE, DIMENSION and LEADER records and meshes are
    // read; paper space, invisible entities and frozen or off layers are
    // left out; inside a block an entity on layer "0" is on the layer of
    // the insert that places it. Names (layers, blocks, LAYER entries) are
    // kept whole up to 255 chars and compared without regard to case by
    // their UTF-8 form, as a CAD program compares them; a name met under
    // several spellings goes under the first one. The default reading keeps
    // polylines straight and flat, reads the records it always read, keeps
    // names' first 79 chars and compares them as bytes.
    void setexact(bool exact);
    // Exact reading: the paper-space entities (group 67 = 1) instead of
    // model space.
    void setpaperspace(bool paperspace);
    // Exact reading: the largest distance between a curve flattened into
    // segments (SPLINE, HELIX, a LEADER's spline path) and its segments, in
    // drawing units; 0 or less for the default, the smaller of 0.01 and
    // 1/1000 of the diagonal of the box around the curve's points.
    void setflattening(double tolerance);

    // Texts (TEXT, MTEXT, ATTRIB, ATTDEF, MULTILEADER, ACAD_TABLE and the
    // text in blocks and dimensions), off by default (notext: counted as
    // skipped by record name). textitems: each text is one point geometry at its
    // anchor; textstrokes: each text is the line segments of its glyphs in
    // the built-in single-stroke font, one item, a character without a
    // glyph drawn as a box and counted as skipped under "*missingglyph".
    // Set it before reading. See docs/text.md.
    void settext(textmode mode);
    // The text the geometry last returned came from, or null.
    const textinfo* currenttext();

    // A bound on the work of reading: once work geometries were made,
    // delivered or not, reading stops with limitreached. Everything made
    // counts: what next() returns, the entities of inserts in every array
    // cell and the pieces of a record (a flattened curve's segments, a
    // mesh's edges) also where the exact reading hides them or the layer
    // filter drops them, geometry stored in a block definition, and what is
    // passed over on the way (a nested insert that would draw nothing, a
    // repeated or not finite vertex of a curve). A record left out as a
    // whole is not made and does not count. 0 or less: no limit (the
    // default). Counted from the start of reading, whenever it is set.
    void setlimit(long work);

    // What was read and not delivered: records of kinds that give no
    // geometry in this reading, by name ("TEXT", "HATCH", ...), and hidden
    // ones by reason ("*paperspace", "*invisible", "*hiddenlayer"), each
    // with its count, in order of first occurrence; null at the end.
    const char* firstskipped(int& count);
    const char* nextskipped(int& count);

    // Restricts output to the comma-separated layer names; null or "" removes
    // the filter. The names are compared as the reading compares names.
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

    // Beside the geometry last returned by next(). The texts live until the
    // next call of next().
    // Its colour as 0xRRGGBB: its true colour (group 420), else its colour
    // index (group 62) through the standard palette, BYLAYER (256 or no
    // group 62) through its layer's LAYER entry, BYBLOCK (0) through the
    // insert that places it; -1 before any geometry.
    int currentcolor();
    // Its colour index 1..255, or 0 when it has only a true colour; -1
    // before any geometry.
    int currentaci();
    // Both at once: the colour as currentcolor() gives it, and in aci the
    // index as currentaci() gives it (for a host that wants both for every
    // geometry: the colour is worked out once).
    int currentcolor(int& aci);
    // The name of the record it came from: "LINE", "LWPOLYLINE", ...; for
    // geometry from a block, the entity's record inside it. Null before any.
    const char* currentrecord();
    // That record's handle (group 5), "" when it has none; null before any.
    const char* currenthandle();
    // The drawn entity it belongs to, what a CAD program selects as one
    // object: an LWPOLYLINE, a POLYLINE with its vertices, a spline, a mesh,
    // a 3DFACE, one copy of an entity of an inserted block (each array cell
    // and each nesting level a copy of its own), a dimension's or a leader's
    // pieces. Every piece of one item has the same number; numbers increase
    // from 1 with each item delivered; 0 before any geometry.
    long currentitem();
    // Its place within the item: 0, 1, 2 ... in delivery order.
    int currentpiece();
    // Whether the item is a closed contour: a closed polyline (in the
    // default reading one that gets its closing segment), a circle, a full
    // ellipse, a closed or periodic spline, a SOLID or TRACE, a 3DFACE with
    // no hidden edge.
    bool currentclosed();

    // Exact reading, off by default: ACAD_PROXY_ENTITY records and entities
    // of kinds the reader does not know give the primitives of their proxy
    // graphics (lines, polylines, polygons, arcs, circles, meshes, shells;
    // no texts) as the pieces of one item. A cut or corrupt stream gives
    // what came before the fault; what is left out counts under
    // "*proxygraphics" among the skipped records. Set it before reading.
    void setproxies(bool proxies);

    // Areas: what HATCH and MPOLYGON records give (hatchmode values or-ed;
    // nohatch, the default, counts them as skipped), in both readings. Set
    // it before reading. See docs/areas.md.
    void sethatch(int modes);
    // The area the geometry last returned bounds or fills: a hatch's
    // boundary loop or pattern line, the outline of a SOLID, TRACE or
    // WIPEOUT; null for any other geometry. Lives until the next next().
    const fillinfo* currentfill();

    // Its line style, worked out only when asked for. The linetype's name
    // (group 6): BYLAYER (or none) through its layer's LAYER entry, BYBLOCK
    // through the insert that places it (nested inserts in turn; outside
    // any block "Continuous"), "Continuous" where a layer names none; null
    // before any geometry.
    const char* currentlinetype();
    // Its lineweight in hundredths of a millimetre (group 370), BYLAYER and
    // BYBLOCK resolved as for the linetype; -3 (the default lineweight,
    // which a host draws as it likes: CAD programs take 0.25 mm) when it
    // and its layer give none; -1 before any geometry.
    int currentlineweight();
    // Its linetype scale: its own group 48 times the drawing's $LTSCALE
    // (each 1 when not given); 0 before any geometry.
    double currentltscale();
    // Its linetype's pattern from the LTYPE table, scaled by
    // currentltscale(): into dashes the lengths in drawing units, a dash
    // positive, a gap negative, a dot 0, repeated along the line from its
    // start; returns their number, 0 for a continuous line (a linetype
    // without lengths, or without an LTYPE entry). The lengths live until
    // the next next().
    int currentlinepattern(const double*& dashes);
    // Exact reading: a wide polyline's piece, its width where it starts and
    // where it ends (LWPOLYLINE: the vertex's 40 and 41, else the constant
    // width 43; POLYLINE: the VERTEX's 40 and 41, else the header's), in
    // the units of the record (a block's inside an insert). False, with
    // both 0, for any other geometry.
    bool currentwidth(double& start, double& end);

    // The first value text of a header variable read so far ("$INSUNITS"),
    // or null; with code, the text of its group code instead (20 for the y
    // of "$EXTMIN"). The HEADER section is read before the first entity.
    const char* header(const char* name);
    const char* header(const char* name, int code);
    // The LAYER table entry of a layer: its colour index (negative when the
    // layer is off) and its group 70 flags (1 frozen, 4 locked); false when
    // the drawing has no entry of that name (compared as the reading compares
    // names). The second form gives its linetype too ("" when it names none).
    bool layerinfo(const char* name, int& aci, int& flags);
    bool layerinfo(const char* name, int& aci, int& flags, const char*& linetype);
    // The LAYER table's entries in file order (the first of several under
    // one name), named as layerinfo() takes them, with the same colour and
    // flags; entries no entity uses included. Null at the end, with aci and
    // flags unchanged; the LAYER table is read before the first geometry.
    const char* firstlayerentry(int& aci, int& flags);
    const char* nextlayerentry(int& aci, int& flags);
    // Layer, block and header texts handed out in UTF-8, and the layer
    // filter and layerinfo() names taken in UTF-8: decoded from the
    // drawing's code page ($DWGCODEPAGE) before R2007, with \U+XXXX and
    // \M+nXXXX escapes; bytes invalid in the source encoding become U+FFFD.
    // Off by default: names are handed out as read.
    void setutf8(bool utf8);
    // The blocks defined, in order of definition, with their entity counts.
    int numblock();
    const char* firstblock();
    const char* firstblock(int& n);
    const char* nextblock();
    const char* nextblock(int& n);

private:
    readerstate* state_;
    readstatus nostate_;  // the status while there is no state: no stream, or no memory
};

}  // namespace ostra

#endif
