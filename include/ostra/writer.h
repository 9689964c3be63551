// ostra::writer: writes geometry to a C stream as a minimal ASCII DXF
// drawing (HEADER, TABLES and BLOCKS sections, then the entities). By
// default it writes line segments and circles on layer "0"; in the extended
// mode it writes every kind of geometry, with layers, colours, header
// variables and the LTYPE and LAYER tables.
#ifndef OSTRA_WRITER_H
#define OSTRA_WRITER_H

#include <cstddef>
#include <cstdio>
#include <memory>

#include <brevo/geometry.h>

namespace ostra {

class headerlist;
class layerlist;

class writer {
public:
    // Writes to stream, which the caller opened and closes after the writer
    // is gone; the writer never flushes or closes it.
    explicit writer(FILE* stream);
    // Ends the ENTITIES section and the file (ENDSEC, EOF) if anything was
    // saved and finish() has not done so already.
    ~writer();

    // The extended mode, off by default; it takes effect only when set
    // before the file is begun (the first save of a non-null geometry) and
    // is ignored after. Without it the file is exactly what the default mode
    // writes, whatever setlayer, setcolor, addlayer and addheader were given.
    void setextended(bool extended);
    // The layer of the following saves in the extended mode; "0" at first.
    // A name that addlayer would refuse as a name (null, empty, longer than
    // 255 chars, holding a CR or LF, or with a space or tab at either end) is
    // ignored: the layer stays as it was, and false is returned. A layer
    // needs no LAYER table entry.
    bool setlayer(const char* name);
    // The colour (a colour index) of the following saves in the
    // extended mode: 0 (the block's), 1..255, or 256 (the layer's, the
    // default, which is not written). A value outside 0..256 is ignored.
    void setcolor(int aci);
    // An entry of the LAYER table written in the TABLES section in the
    // extended mode, in the order given, with colour aci (1..255). Returns
    // false and adds nothing for an invalid name (see setlayer), a colour
    // outside 1..255 (an entry's colour is a colour, never the block's or a
    // layer's), a name already added (letters compared without case), when
    // the file is already begun or finished, or when memory runs out.
    bool addlayer(const char* name, int aci);
    // The same with everything a LAYER entry holds: colour aci (1..255, or
    // -255..-1 for a layer that is off), the group 70 flags (0..127: 1
    // frozen, 2 frozen in new viewports, 4 locked, ...) and the linetype
    // (null or "" for CONTINUOUS; otherwise a name as setlayer takes them,
    // not BYLAYER or BYBLOCK). Every linetype the entries name gets an entry
    // of the LTYPE table written before the LAYER table, CONTINUOUS first;
    // the file holds no dash patterns, so each is drawn as a continuous
    // line. For a colour of 1..255, addlayer(name, aci) is addlayer(name,
    // aci, 0, nullptr). Returns false and adds nothing for colours, flags or
    // linetypes other than those, and where addlayer(name, aci) does for a
    // name.
    bool addlayer(const char* name, int aci, int flags, const char* linetype);
    // A group of a header variable, written in the HEADER section in the
    // extended mode in the order given: the variable's name ("$INSUNITS"),
    // the group code (70) and the value text, written as given. A call with
    // the name of the variable added last adds a further group to it
    // ($EXTMIN with 10, 20 and 30). Names, texts and all are written as
    // given: a host that says $ACADVER AC1021 or later gives its names in
    // UTF-8, one that says an earlier version gives them in the code page
    // of its $DWGCODEPAGE. Returns false and adds nothing for a name that
    // is not '$' followed by more, is longer than 79 chars or holds a blank or
    // a control character; a code outside 1..1071 or of 9 (which names a
    // variable) or 999 (a comment); a null value or one holding a line
    // break; a variable added before that is not the last one added (names
    // compared without case); a code the variable has already; when the file
    // is already begun or finished; or when memory runs out.
    bool addheader(const char* name, int code, const char* value);

    // Writes one entity, numbers as printf("%.6f") prints them in the C
    // locale. Default mode: a LINE for a line segment, a CIRCLE for a full
    // circle (in the xy plane, whatever its normal); other kinds are
    // refused. Extended mode: also arcs (ARC), circles in any plane and
    // points (POINT); arcs and circles whose normal is not +z carry their
    // extrusion (210, 220, 230) and object coordinates, and a normal
    // pointing below the xy plane is turned over (an arc then swaps its
    // ends), so that a mirrored arc reads back in place. An ellipse becomes a
    // chain of ARC records (LINE where a piece is nearly straight) within
    // the smaller of 0.01 units and 1/1000 of its bounding box diagonal;
    // an ellipse with a number that is not finite is refused.
    // The first call after construction writes the sections before ENTITIES
    // and opens ENTITIES, even when it then refuses its geometry. Returns
    // false and writes nothing for g when g is null, of a refused kind, or
    // finish() has run; returns false as well when a write fails or the
    // stream is in an error state.
    bool save(const brevo::geometry* g);
    bool save(const brevo::geometry& g);
    // Saves the elements in order and stops at the first one that save()
    // refuses, returning false; earlier elements stay written. A count of 0
    // or less writes nothing at all and returns true. A null element of the
    // pointer array is refused.
    bool save(const brevo::geometry* array, int count);
    bool save(const brevo::geometry** array, int count);

    // Copies the stream, the progress and the settings: the copy writes to
    // the same stream and writes no second set of leading sections. Each
    // writer still closes the file at destruction unless finish() was
    // called on it. A file the assigned-over writer had begun is not closed
    // by it any more.
    writer& operator=(const writer&);

    // Ends the ENTITIES section and the file now if anything was saved and
    // this has not happened yet; later saves are refused. Returns false when
    // a write failed, true otherwise (also when there was nothing to write).
    bool finish();

private:
    bool start();
    bool put(const char* text, std::size_t size);
    bool savesimple(const brevo::geometry& g);

    FILE* stream_;
    bool started_ = false;
    bool finished_ = false;
    bool extended_ = false;
    int color_ = 256;
    char layer_[256] = "0";  // at most 255 chars and a NUL
    // The LAYER table entries and the header variables; shared by copies
    // until one of them adds.
    std::shared_ptr<layerlist> layers_;
    std::shared_ptr<headerlist> header_;
};

}  // namespace ostra

#endif
