// The reader's record state machine: groups are collected into the group
// table until a group 0 or 9 ends the record; the record's producer then
// runs, and the new record's kind is taken from its name.
#include <ostra/reader.h>

#include <cstring>
#include <new>

#include "reader/readerstate.h"

#if defined(__has_include)
#if __has_include(<sys/single_threaded.h>)
#include <sys/single_threaded.h>
#define OSTRA_HAVE_SINGLE_THREADED 1
#endif
#endif
#ifndef OSTRA_HAVE_SINGLE_THREADED
#define OSTRA_HAVE_SINGLE_THREADED 0
#endif

namespace ostra {

using brevo::geometry;

namespace {

// Holds the stream's lock for one next() call, so that lines are read
// without a lock per call. While the process has a single thread nobody can
// contend for the stream, and the lock is skipped, as the C library's own
// stream functions skip theirs then.
class streamlock {
public:
    explicit streamlock(FILE* f) : f_(singlethreaded() ? nullptr : f) {
        if (f_) flockfile(f_);
    }
    ~streamlock() {
        if (f_) funlockfile(f_);
    }
    streamlock(const streamlock&) = delete;
    streamlock& operator=(const streamlock&) = delete;

private:
    static bool singlethreaded() {
#if OSTRA_HAVE_SINGLE_THREADED
        return __libc_single_threaded != 0;
#else
        return false;
#endif
    }
    FILE* f_;
};

// Whether the name of length n is word; the length known, the compare is a
// few loads.
template <std::size_t N>
bool is(const char* name, int n, const char (&word)[N]) {
    return n == static_cast<int>(N - 1) && std::memcmp(name, word, N - 1) == 0;
}

// The kind of a new record from its name (of length n). VERTEX and SEQEND
// count only inside a polyline.
int kindof(const char* name, int n, int oldkind) {
    switch (name[0]) {
    case 'L':
        if (is(name, n, "LINE")) return kline;
        if (is(name, n, "LAYER")) return klayer;
        if (is(name, n, "LWPOLYLINE")) return kpolyline;
        break;
    case 'P':
        if (is(name, n, "POLYLINE")) return kpolyline;
        break;
    case 'V':
        if (is(name, n, "VERTEX") && (oldkind == kpolyline || oldkind == kvertex)) return kvertex;
        break;
    case 'S':
        if (is(name, n, "SEQEND") && (oldkind == kpolyline || oldkind == kvertex)) return kseqend;
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
        break;
    case 'I':
        if (is(name, n, "INSERT")) return kinsert;
        break;
    default:
        break;
    }
    return knone;
}

}  // namespace

geometry* readerstate::next(geometry& out) {
    out.setinvalid();
    curlayer = -1;
    curblock = nullptr;
    out_ = &out;
    produced_ = false;
    streamlock lock(groups.linestream());
    for (;;) {
        if (xpoly.delivering()) {
            out = xpoly.lwpiece(xpoly.nextpiece++);
            curlayer = xpoly.layer;
            return &out;
        }
        if (delivery.active()) {
            if (delivery.next(out, curlayer, curblock)) return &out;
        }
        switch (groups.read()) {
        case groupreader::ok:
            break;
        case groupreader::endofstream:
        case groupreader::malformed:
            return nullptr;
        }
        int code = groups.code();
        if (code == 0 || code == 9) {
            endrecord();
            table.clearrecord();
            layerknown_ = false;
            table.newrecord();
            beginrecord(groups.value(), groups.valuelength());
        } else {
            storegroup(code, groups.value(), groups.valuelength());
        }
        if (produced_) return &out;
    }
}

void readerstate::endrecord() {
    if (exact) {
        switch (kind) {
        case karc: exactarc(); return;
        case kcircle: exactcircle(); return;
        case kellipse: exactellipse(); return;
        case kpolyline: exactpolylineend(); return;
        case kvertex: exactvertexend(); return;
        case kseqend: exactclosing(); return;
        default: break;
        }
    }
    switch (kind) {
    case kline: produceline(); break;
    case karc: producearc(); break;
    case kcircle: producecircle(); break;
    case kpolyline:
    case kvertex: polylinevertexend(); break;
    case kseqend: polylineclosing(); break;
    case kblock: produceblock(); break;
    case kendblk: blocks.enddefinition(); break;
    case kinsert: produceinsert(); break;
    default: break;
    }
}

void readerstate::beginrecord(const char* name, int length) {
    kind = kindof(name, length, kind);
    if (kind == kpolyline) {
        poly.start();
        if (exact) xpoly.start(name[0] == 'L');
    }
}

void readerstate::storegroup(int code, const char* value, int length) {
    if (code == 2 && std::strcmp(value, "ENTITIES") == 0) inentities = true;
    if (kind == kpolyline) {
        if (exact) {
            if (xpoly.light && (code == 10 || code == 20 || code == 42)) exactvertexgroup(code, value);
        } else if (code == 10 || code == 20 || code == 30) {
            polylinevertexgroup(code);
        }
    }
    if (code == 8) layerknown_ = false;
    table.storepadded<linereader::padding>(code, value, length);
}

reader::reader(FILE* stream) : state_(stream ? new (std::nothrow) readerstate(stream) : nullptr) {}

reader::~reader() { delete state_; }

geometry* reader::next(geometry& out) {
    if (!state_) {
        out.setinvalid();
        return nullptr;
    }
    return state_->next(out);
}

geometry* reader::next() {
    geometry* g = new geometry;
    if (!next(*g)) {
        delete g;
        return nullptr;
    }
    return g;
}

void reader::setexact(bool exact) {
    if (state_) state_->exact = exact;
}

void reader::setlayerfilter(const char* names) {
    if (state_) state_->layers.setfilter(names);
}

const char* reader::currentlayer() {
    return state_ && state_->curlayer >= 0 ? state_->layers.name(state_->curlayer) : nullptr;
}

int reader::numlayer() { return state_ ? state_->layers.count() : 0; }
const char* reader::firstlayer() { return state_ ? state_->layers.first(nullptr) : nullptr; }
const char* reader::firstlayer(int& count) { return state_ ? state_->layers.first(&count) : nullptr; }
const char* reader::nextlayer() { return state_ ? state_->layers.next(nullptr) : nullptr; }
const char* reader::nextlayer(int& count) { return state_ ? state_->layers.next(&count) : nullptr; }

const char* reader::currentblock() { return state_ ? state_->curblock : nullptr; }
int reader::numblock() { return state_ ? state_->blocks.count() : 0; }
const char* reader::firstblock() { return state_ ? state_->blocks.first(nullptr) : nullptr; }
const char* reader::firstblock(int& n) { return state_ ? state_->blocks.first(&n) : nullptr; }
const char* reader::nextblock() { return state_ ? state_->blocks.next(nullptr) : nullptr; }
const char* reader::nextblock(int& n) { return state_ ? state_->blocks.next(&n) : nullptr; }

}  // namespace ostra
