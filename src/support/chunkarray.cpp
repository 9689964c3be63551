#include "support/chunkarray.h"

#include <cstdlib>
#include <cstring>

namespace ostra {

chunkarray::chunkarray(int recsize_, int perchunk_) : recsize(recsize_), perchunk(perchunk_) {}

chunkarray::~chunkarray() {
    if (allocator) return;  // the allocator's chunks are not ours to release
    char* c = firstchunk;
    while (c) {
        char* n = link(c);
        std::free(c);
        c = n;
    }
}

// The link to the next chunk sits behind the chunk's records.
char*& chunkarray::link(char* chunk) const {
    return *reinterpret_cast<char**>(chunk + static_cast<long>(perchunk) * recsize);
}

void* chunkarray::append(const void* record) {
    int p = nrec % perchunk;
    if (!tailchunk || p == 0) {
        long bytes = static_cast<long>(perchunk) * recsize + static_cast<long>(sizeof(char*));
        char* c = static_cast<char*>(allocator ? allocator->allocate(static_cast<int>(bytes))
                                               : std::malloc(static_cast<std::size_t>(bytes)));
        if (!c) return nullptr;
        link(c) = nullptr;
        if (!firstchunk)
            firstchunk = c;
        else
            link(tailchunk) = c;
        tailchunk = c;
    }
    char* r = tailchunk + static_cast<long>(p) * recsize;
    std::memcpy(r, record, static_cast<std::size_t>(recsize));
    ++nrec;
    return r;
}

void chunkarray::rewind(int position) {
    if (position > 0) return;
    iterpos = 0;
    iterchunk = firstchunk;
}

void* chunkarray::next() {
    if (iterpos >= nrec || !iterchunk) return nullptr;
    int p = iterpos % perchunk;
    char* r = iterchunk + static_cast<long>(p) * recsize;
    ++iterpos;
    if (p == perchunk - 1) iterchunk = link(iterchunk);
    return r;
}

void* chunkarray::first() {
    rewind(0);
    return next();
}

chunkmap::chunkmap(int valuesize, int perchunk_, int keywidth_)
    : chunkarray(keywidth_ + valuesize, perchunk_), keywidth(keywidth_) {}

void* chunkmap::insert(const void* value, const char* key) {
    char scratch[1024];
    if (recsize > static_cast<int>(sizeof scratch)) return nullptr;
    int i = 0;
    for (; i < keywidth - 1 && key[i]; ++i) scratch[i] = key[i];
    for (; i < keywidth; ++i) scratch[i] = '\0';
    std::memcpy(scratch + keywidth, value, static_cast<std::size_t>(recsize - keywidth));
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
