// ostra::reader: the host's face of the reader state.
#include <ostra/reader.h>

#include <new>

#include "reader/readerstate.h"

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
    if (state_) state_->exact = exact;
}

void reader::setlayerfilter(const char* names) {
    if (state_) state_->layers.setfilter(names);
}

const char* reader::currentlayer() {
    if (!state_) return nullptr;
    int i = state_->results.info().layer;
    return i >= 0 ? state_->layers.name(i) : nullptr;
}

int reader::numlayer() { return state_ ? state_->layers.count() : 0; }
const char* reader::firstlayer() { return state_ ? state_->layers.first(nullptr) : nullptr; }
const char* reader::firstlayer(int& count) { return state_ ? state_->layers.first(&count) : nullptr; }
const char* reader::nextlayer() { return state_ ? state_->layers.next(nullptr) : nullptr; }
const char* reader::nextlayer(int& count) { return state_ ? state_->layers.next(&count) : nullptr; }

const char* reader::currentblock() { return state_ ? state_->results.info().block : nullptr; }
int reader::numblock() { return state_ ? state_->blocks.count() : 0; }
const char* reader::firstblock() { return state_ ? state_->blocks.first(nullptr) : nullptr; }
const char* reader::firstblock(int& n) { return state_ ? state_->blocks.first(&n) : nullptr; }
const char* reader::nextblock() { return state_ ? state_->blocks.next(nullptr) : nullptr; }
const char* reader::nextblock(int& n) { return state_ ? state_->blocks.next(&n) : nullptr; }

}  // namespace ostra
