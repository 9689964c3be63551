// Layer 6, assembly: records are collected and dispatched to their producers.
//
// The state of one reader and its record assembly: groups are collected into
// the group table until a group 0 or 9 ends the record; the record's
// producer then runs, and the new record's kind is taken from its name.
// What the producers make reaches next() through the sink.
#ifndef OSTRA_READER_READERSTATE_H
#define OSTRA_READER_READERSTATE_H

#include <cstddef>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include <brevo/geometry.h>
#include <ostra/readstatus.h>

#include "reader/delivery/blockstore.h"
#include "reader/tables/drawinginfo.h"
#include "reader/delivery/emitter.h"
#include "reader/input/groupreader.h"
#include "reader/records/grouptable.h"
#include "reader/tables/layertable.h"
#include "reader/records/recordkinds.h"
#include "reader/delivery/sink.h"
#include "reader/delivery/visibility.h"

namespace ostra {

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
        status_ = results.limited() ? limitreached : outofmemory;
    }
    const char* badline() const { return status_ == malformedcode ? badline_ : nullptr; }

    // The handle and colour of the geometry last delivered; false before any.
    bool currentprops(recordprops& p) const;
    const char* currenthandle() const;
    colourref currentcolour() const;
    // Its line style, BYBLOCK resolved through the inserts that place it
    // (BYLAYER is left to the caller: a null linetype, layer naming the
    // layer it refers to when that is not the geometry's own).
    linestyle currentstyle() const;
    // The scaled pattern last handed out.
    std::vector<double> dashes;

    groupreader groups;
    grouptable table;
    layertable layers;
    blockstore blocks;
    sink results;
    drawinginfo info;
    visibility shown;
    emitter emit;

    // The exact reading, or the default one.
    void setexact(bool exact);
    bool exact() const { return exact_; }
    // How texts are read (ostra::textmode).
    void settext(int mode);
    int textmode() const { return textmode_; }
    // The flattening tolerance of curves; 0 or less for the default.
    void setflattening(double tolerance) { flattening_ = tolerance; }
    // What HATCH and MPOLYGON records give (hatchmode values or-ed).
    void sethatch(int modes) { hatch_ = modes & (hatchboundaries | hatchpatterns); }
    int hatch() const { return hatch_; }
    // Exact reading: proxy graphics of ACAD_PROXY_ENTITY and of entities
    // not known.
    void setproxies(bool proxies) { proxies_ = proxies; }

private:
    // The producers of every record kind, made with the dispatch.
    struct producerset;

    bool run();
    bool finish();
    // Record assembly.
    void endrecord();
    void beginrecord(int code, const char* name, int length);
#if defined(__GNUC__)
    __attribute__((always_inline))
#endif
    void storegroup(int code, const char* value, int length);
#if defined(__GNUC__)
    __attribute__((noinline))
#endif
    void steergroup(int code, const char* value, int length);
    void store(int code, const char* value, int length);
    void malformed();
    // Whether a record of kind gives geometry in this reading.
    bool produces(int kind) const;
    void passover(const char* name, int length);
    void keepcodes();

    static const int namecodes[5];

    std::unique_ptr<producerset> producers_;
    bool exact_ = false;
    int textmode_ = 0;
    double flattening_ = 0;
    int hatch_ = nohatch;
    bool proxies_ = false;
    bool proxying_ = false;   // the record's proxy graphics are collected
    std::string proxyname_;   // the name of an entity not known being collected
    void proxyend();
    int kind_ = knone;
    bool collecting_ = false;  // the record keeps its repeated groups
    sectionkind section_ = snone;
    char variable_[grouptable::slotsize];  // the name of the header variable being read
    bool ended_ = false;  // the EOF record was read
    readstatus status_ = reading;
    char badline_[linereader::bufsize];
};

}  // namespace ostra

#endif
