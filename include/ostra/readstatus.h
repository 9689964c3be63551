// ostra::readstatus: why reading stopped, or that it goes on.
#ifndef OSTRA_READSTATUS_H
#define OSTRA_READSTATUS_H

namespace ostra {

// Why the last next() returned null; reading while it goes on.
enum readstatus {
    reading = 0,        // the last next() returned a geometry (or none was made yet)
    endofdrawing = 1,   // the EOF record was read: the drawing is complete
    endofstream = 2,    // the stream ended without an EOF record: a cut or incomplete file
    malformedcode = 3,  // a group-code line that is not a number, or a binary code of no known type
    outofmemory = 4,    // memory ran out; reading has stopped for good
    limitreached = 5,   // the work limit (setlimit) was reached; reading has stopped for good
};

}  // namespace ostra

#endif
