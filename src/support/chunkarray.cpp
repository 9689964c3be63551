#include "support/chunkarray.h"

#include <climits>
#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <new>

namespace ostra {

namespace {

// The chunk header: the link to the next chunk, then the ownership flag,
// padded to the strictest fundamental alignment so the records behind it are
// as aligned as the chunk itself.
struct chunkheader {
    char* next;
    bool owned;  // taken from the heap (operator new), freed by the array
};
constexpr std::size_t headersize =
    (sizeof(chunkheader) + alignof(std::max_align_t) - 1) / alignof(std::max_align_t) * alignof(std::max_align_t);

chunkheader header(const char* chunk) {
    chunkheader h;
    std::memcpy(&h, chunk, sizeof h);
    return h;
}

}  // namespace

chunkarray::chunkarray(int recsize_, int perchunk_)
    : recsize(recsize_ > 0 ? recsize_ : 0), perchunk(perchunk_ > 0 ? perchunk_ : 1) {}

chunkarray::~chunkarray() {
    char* c = firstchunk;
    while (c) {
        chunkheader h = header(c);
        if (h.owned) ::operator delete(c);
        c = h.next;
    }
}

char* chunkarray::link(const char* chunk) { return header(chunk).next; }

void chunkarray::setlink(char* chunk, char* next) {
    chunkheader h = header(chunk);
    h.next = next;
    std::memcpy(chunk, &h, sizeof h);
}

char* chunkarray::record(char* chunk, int index) const {
    return chunk + headersize + static_cast<std::size_t>(index) * static_cast<std::size_t>(recsize);
}

void* chunkarray::append(const void* rec) {
    if (nrec == INT_MAX) return nullptr;
    int p = nrec % perchunk;
    if (!tailchunk || p == 0) {
        std::size_t bytes = headersize + static_cast<std::size_t>(perchunk) * static_cast<std::size_t>(recsize);
        char* c;
        chunkheader h{nullptr, allocator == nullptr};
        if (allocator)
            c = bytes <= INT_MAX ? static_cast<char*>(allocator->allocate(static_cast<int>(bytes))) : nullptr;
        else
            c = static_cast<char*>(::operator new(bytes, std::nothrow));
        if (!c) return nullptr;
        std::memcpy(c, &h, sizeof h);
        if (!firstchunk)
            firstchunk = c;
        else
            setlink(tailchunk, c);
        tailchunk = c;
    }
    char* r = record(tailchunk, p);
    if (recsize > 0) std::memcpy(r, rec, static_cast<std::size_t>(recsize));
    ++nrec;
    return r;
}

void chunkarray::rewind(int position) {
    if (position > 0) return;
    iterpos = 0;
    iterchunk = nullptr;
}

// The chunk moves on only when the record to hand out is the first of a
// chunk, so a cursor left at the end of a full chunk finds the chunk that a
// later append adds.
void* chunkarray::next() {
    if (iterpos >= nrec) return nullptr;
    int p = iterpos % perchunk;
    if (iterpos == 0)
        iterchunk = firstchunk;
    else if (p == 0)
        iterchunk = link(iterchunk);
    ++iterpos;
    return record(iterchunk, p);
}

void* chunkarray::first() {
    rewind(0);
    return next();
}

chunkmap::chunkmap(int valuesize, int perchunk_, int keywidth_)
    : chunkarray((keywidth_ > 0 ? keywidth_ : 1) + (valuesize > 0 ? valuesize : 0), perchunk_),
      keywidth(keywidth_ > 0 ? keywidth_ : 1) {}

void* chunkmap::insert(const void* value, const char* key) {
    char scratch[1024];
    if (recsize > static_cast<int>(sizeof scratch)) return nullptr;
    int i = 0;
    for (; i < keywidth - 1 && key[i]; ++i) scratch[i] = key[i];
    for (; i < keywidth; ++i) scratch[i] = '\0';
    if (recsize > keywidth) std::memcpy(scratch + keywidth, value, static_cast<std::size_t>(recsize - keywidth));
    char* r = static_cast<char*>(append(scratch));
    return r ? r + keywidth : nullptr;
}

void* chunkmap::first(const char*& key) {
    char* r = static_cast<char*>(chunkarray::first());
    key = r;
    return r ? r + keywidth : nullptr;
}

void* chunkmap::next(const char*& key) {
    char* r = static_cast<char*>(chunkarray::next());
    key = r;
    return r ? r + keywidth : nullptr;
}

void* chunkmap::find(const char* name) {
    const char* key;
    for (void* v = first(key); v; v = next(key))
        if (std::strcmp(key, name) == 0) return v;
    return nullptr;
}

}  // namespace ostra
