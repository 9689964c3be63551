// The state of one reader and its record assembly: groups are collected into
// the group table until a group 0 or 9 ends the record; the record's
// producer then runs, and the new record's kind is taken from its name.
// What the producers make reaches next() through the sink.
#ifndef OSTRA_READER_READERSTATE_H
#define OSTRA_READER_READERSTATE_H

#include <cstddef>
#include <cstdio>
#include <memory>

#include <brevo/geometry.h>
#include <ostra/reader.h>

#include "reader/blockstore.h"
#include "reader/emitter.h"
#include "reader/groupreader.h"
#include "reader/grouptable.h"
#include "reader/layertable.h"
#include "reader/sink.h"

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
    kellipse = 11,  // read only in the exact reading
    keof = 12,      // the EOF record: the drawing ends
};

class readerstate {
public:
    // Throws std::bad_alloc when its memory cannot be had.
    explicit readerstate(FILE* stream);
    readerstate(const char* data, std::size_t size);
    ~readerstate();
    readerstate(const readerstate&) = delete;
    readerstate& operator=(const readerstate&) = delete;

    brevo::geometry* next(brevo::geometry& out);

    readstatus status() const { return status_; }
    // next() without an argument could not allocate its geometry: nothing
    // was read, and a later call may try again.
    void nomemory() {
        results.forget();
        status_ = outofmemory;
    }
    const char* badline() const { return status_ == malformedcode ? badline_ : nullptr; }

    groupreader groups;
    grouptable table;
    layertable layers;
    blockstore blocks;
    sink results;
    emitter emit;
    bool exact = false;

private:
    // The producers of every record kind, made with the dispatch.
    struct producerset;

    bool run();
    bool finish();
    // Record assembly.
    void endrecord();
    void beginrecord(const char* name, int length);
    void storegroup(int code, const char* value, int length);
    void store(int code, const char* value, int length);
    void malformed();

    std::unique_ptr<producerset> producers_;
    int kind_ = knone;
    bool ended_ = false;  // the EOF record was read
    readstatus status_ = reading;
    char badline_[linereader::bufsize];
};

}  // namespace ostra

#endif
