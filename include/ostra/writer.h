// ostra::writer: writes line segments and circles to a C stream as a minimal
// ASCII DXF drawing (empty HEADER, TABLES and BLOCKS sections, then the
// entities on layer "0").
#ifndef OSTRA_WRITER_H
#define OSTRA_WRITER_H

#include <cstddef>
#include <cstdio>

#include <brevo/geometry.h>

namespace ostra {

class writer {
public:
    // Writes to stream, which the caller opened and closes after the writer
    // is gone; the writer never flushes or closes it.
    explicit writer(FILE* stream);
    // Ends the ENTITIES section and the file (ENDSEC, EOF) if anything was
    // saved and finish() has not done so already.
    ~writer();

    // Writes one entity: a LINE for a line segment, a CIRCLE for a full
    // circle, coordinates as printf("%.6f") prints them in the C locale. The
    // first call after construction writes the sections before ENTITIES and
    // opens ENTITIES, even when it then refuses its geometry. Returns false
    // and writes nothing for g when g is null, of another kind, or finish()
    // has run; returns false as well when a write fails or the stream is in
    // an error state.
    bool save(const brevo::geometry* g);
    bool save(const brevo::geometry& g);
    // Saves the elements in order and stops at the first one that save()
    // refuses, returning false; earlier elements stay written. A count of 0
    // or less writes nothing at all and returns true. A null element of the
    // pointer array is refused.
    bool save(const brevo::geometry* array, int count);
    bool save(const brevo::geometry** array, int count);

    // Copies the stream and the progress: the copy writes to the same stream
    // and writes no second set of leading sections. Each writer still closes
    // the file at destruction unless finish() was called on it. A file the
    // assigned-over writer had begun is not closed by it any more.
    writer& operator=(const writer&);

    // Ends the ENTITIES section and the file now if anything was saved and
    // this has not happened yet; later saves are refused. Returns false when
    // a write failed, true otherwise (also when there was nothing to write).
    bool finish();

private:
    bool start();
    bool put(const char* text, std::size_t size);

    FILE* stream_;
    bool started_ = false;
    bool finished_ = false;
};

}  // namespace ostra

#endif
