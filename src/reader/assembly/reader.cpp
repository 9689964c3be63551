// ostra::reader: the host's face of the reader state.
#include <ostra/reader.h>

#include <cstring>
#include <new>

#include "reader/assembly/readerstate.h"
#include "support/number.h"

namespace ostra {

using brevo::geometry;

namespace {
// The state, or null when its memory could not be had.
template <class... input>
readerstate* makestate(input... in) {
    try {
        return new readerstate(in...);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}
}  // namespace

reader::reader(FILE* stream)
    : state_(stream ? makestate(stream) : nullptr), nostate_(stream ? outofmemory : endofstream) {}

// No bytes at all are an empty drawing, wherever they are; a null pointer
// with a size is no input.
reader::reader(const char* data, std::size_t size)
    : state_(data || size == 0 ? makestate(data, size) : nullptr),
      nostate_(data || size == 0 ? outofmemory : endofstream) {}

reader::~reader() { delete state_; }

geometry* reader::next(geometry& out) {
    if (!state_) {
        out.setinvalid();
        return nullptr;
    }
    return state_->next(out);
}

// The geometry is allocated before anything is read, so that a failure
// loses nothing: a later call may try again.
geometry* reader::next() {
    geometry* g = new (std::nothrow) geometry;
    if (!g) {
        if (state_) state_->nomemory();
        return nullptr;
    }
    if (!next(*g)) {
        delete g;
        return nullptr;
    }
    return g;
}

readstatus reader::status() const { return state_ ? state_->status() : nostate_; }
long reader::line() const { return state_ ? state_->groups.linecount() : 0; }
std::size_t reader::offset() const { return state_ ? state_->groups.memoryoffset() : 0; }
const char* reader::badline() const { return state_ ? state_->badline() : nullptr; }

void reader::setmessages(FILE* stream) {
    if (state_) state_->groups.setmessages(stream);
}

void reader::setexact(bool exact) {
    if (state_) state_->setexact(exact);
}

void reader::setflattening(double tolerance) {
    if (state_) state_->setflattening(tolerance);
}

void reader::settext(textmode mode) {
    if (state_) state_->settext(mode);
}

const textinfo* reader::currenttext() { return state_ ? state_->results.info().text : nullptr; }

void reader::setlimit(long work) {
    if (state_) state_->results.setlimit(work);
}

void reader::setpaperspace(bool paperspace) {
    if (state_) state_->shown.paperspace = paperspace;
}

const char* reader::firstskipped(int& count) { return state_ ? state_->shown.first(count) : nullptr; }
const char* reader::nextskipped(int& count) { return state_ ? state_->shown.next(count) : nullptr; }

void reader::setlayerfilter(const char* names) {
    if (state_) state_->layers.setfilter(names);
}

// Names go out through the drawing information, which gives their UTF-8
// form when the host asked for it.
const char* reader::currentlayer() {
    if (!state_) return nullptr;
    int i = state_->results.info().layer;
    return i >= 0 ? state_->info.name(state_->layers.name(i)) : nullptr;
}

int reader::numlayer() { return state_ ? state_->layers.count() : 0; }
const char* reader::firstlayer() { return state_ ? state_->info.name(state_->layers.first(nullptr)) : nullptr; }
const char* reader::firstlayer(int& count) {
    return state_ ? state_->info.name(state_->layers.first(&count)) : nullptr;
}
const char* reader::nextlayer() { return state_ ? state_->info.name(state_->layers.next(nullptr)) : nullptr; }
const char* reader::nextlayer(int& count) {
    return state_ ? state_->info.name(state_->layers.next(&count)) : nullptr;
}

const char* reader::currentblock() { return state_ ? state_->info.name(state_->results.info().block) : nullptr; }
int reader::numblock() { return state_ ? state_->blocks.count() : 0; }
const char* reader::firstblock() { return state_ ? state_->info.name(state_->blocks.first(nullptr)) : nullptr; }
const char* reader::firstblock(int& n) { return state_ ? state_->info.name(state_->blocks.first(&n)) : nullptr; }
const char* reader::nextblock() { return state_ ? state_->info.name(state_->blocks.next(nullptr)) : nullptr; }
const char* reader::nextblock(int& n) { return state_ ? state_->info.name(state_->blocks.next(&n)) : nullptr; }

int reader::currentcolor() {
    int aci;
    if (!state_ || !state_->results.info().record) return -1;
    return state_->info.resolve(state_->currentcolour(), state_->layers, aci);
}

int reader::currentcolor(int& aci) {
    aci = -1;
    if (!state_ || !state_->results.info().record) return -1;
    return state_->info.resolve(state_->currentcolour(), state_->layers, aci);
}

int reader::currentaci() {
    int aci = -1;
    if (state_ && state_->results.info().record) state_->info.resolve(state_->currentcolour(), state_->layers, aci);
    return aci;
}

const char* reader::currentrecord() { return state_ ? state_->results.info().record : nullptr; }
const char* reader::currenthandle() { return state_ ? state_->currenthandle() : nullptr; }

long reader::currentitem() { return state_ && state_->results.info().record ? state_->results.item() : 0; }
int reader::currentpiece() { return state_ && state_->results.info().record ? state_->results.piece() : 0; }
bool reader::currentclosed() { return state_ && state_->results.info().record && state_->results.info().closed; }

void reader::setproxies(bool proxies) {
    if (state_) state_->setproxies(proxies);
}

void reader::sethatch(int modes) {
    if (state_) state_->sethatch(modes);
}

const fillinfo* reader::currentfill() {
    return state_ && state_->results.info().record ? state_->results.info().fill : nullptr;
}

namespace {
// The LAYER entry a BYLAYER style refers to.
const layerstates::entry* styledlayer(readerstate* s, const char* of) {
    int i = s->results.info().layer;
    const char* layer = of ? of : i >= 0 ? s->layers.name(i) : nullptr;
    try {
        return layer ? s->info.layerdefs.find(layer) : nullptr;
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}
}  // namespace

const char* reader::currentlinetype() {
    if (!state_ || !state_->results.info().record) return nullptr;
    linestyle s = state_->currentstyle();
    if (s.linetype) return state_->info.name(s.linetype);
    const layerstates::entry* e = styledlayer(state_, s.layer);
    return e && !e->linetype.empty() ? state_->info.name(e->linetype.c_str()) : "Continuous";
}

int reader::currentlineweight() {
    if (!state_ || !state_->results.info().record) return -1;
    linestyle s = state_->currentstyle();
    if (s.lineweight >= 0 || s.lineweight == lwdefault) return s.lineweight;
    const layerstates::entry* e = styledlayer(state_, s.weightlayer);
    return e && e->lineweight >= 0 ? e->lineweight : lwdefault;
}

double reader::currentltscale() {
    if (!state_ || !state_->results.info().record) return 0;
    const char* global = state_->info.header.value("$LTSCALE", 40);
    double g = global ? parsedouble(global) : 1;
    if (!(g > 0 && g < 1e300)) g = 1;
    return state_->currentstyle().scale * g;
}

int reader::currentlinepattern(const double*& dashes) {
    dashes = nullptr;
    const char* name = currentlinetype();
    const std::vector<double>* p = name ? state_->info.ltypes.find(name) : nullptr;
    if (!p || p->empty()) return 0;
    double scale = currentltscale();
    state_->dashes.clear();
    for (double d : *p) state_->dashes.push_back(d * scale);
    dashes = state_->dashes.data();
    return static_cast<int>(state_->dashes.size());
}

bool reader::currentwidth(double& start, double& end) {
    const piecewidth* w = state_ && state_->results.info().record ? state_->results.info().width : nullptr;
    start = w ? w->start : 0;
    end = w ? w->end : 0;
    return w != nullptr;
}

const char* reader::header(const char* name) { return header(name, -1); }
const char* reader::header(const char* name, int code) {
    return state_ ? state_->info.name(state_->info.header.value(name, code)) : nullptr;
}

bool reader::layerinfo(const char* name, int& aci, int& flags) {
    const char* linetype;
    return layerinfo(name, aci, flags, linetype);
}

bool reader::layerinfo(const char* name, int& aci, int& flags, const char*& linetype) {
    const layerstates::entry* e = state_ ? state_->info.findlayer(name) : nullptr;
    if (!e) return false;
    aci = e->aci;
    flags = e->flags;
    linetype = state_->info.name(e->linetype.c_str());
    return true;
}

namespace {
const char* layerentry(readerstate* s, const layerstates::entry* e, int& aci, int& flags) {
    if (!e) return nullptr;
    aci = e->aci;
    flags = e->flags;
    return s->info.name(e->name.c_str());
}
}  // namespace

const char* reader::firstlayerentry(int& aci, int& flags) {
    return state_ ? layerentry(state_, state_->info.layerdefs.first(), aci, flags) : nullptr;
}

const char* reader::nextlayerentry(int& aci, int& flags) {
    return state_ ? layerentry(state_, state_->info.layerdefs.next(), aci, flags) : nullptr;
}

void reader::setutf8(bool utf8) {
    if (!state_) return;
    state_->info.setutf8(utf8);
    state_->layers.setnamemap(utf8 ? &state_->info : nullptr);
}

}  // namespace ostra
