// chunkarray: a growable array of fixed-size records that never move, stored
// in a singly linked list of chunks. chunkmap: a chunkarray whose records
// begin with a fixed-width text key, with lookup by exact name.
#ifndef OSTRA_SUPPORT_CHUNKARRAY_H
#define OSTRA_SUPPORT_CHUNKARRAY_H

namespace ostra {

// An optional source of chunk memory: allocate(bytes) returns the memory
// (aligned for any record type) or null. Chunks from an allocator are not
// given back by the array; the array frees only the chunks it took from the
// heap itself (nothrow operator new, so that a replaced operator new sees
// them), whichever source was set when, so the allocator may be changed at
// any time.
class chunkallocator {
public:
    virtual void* allocate(int bytes) = 0;

protected:
    ~chunkallocator() = default;
};

class chunkarray {
public:
    // Records of recsize bytes (0 or more), perchunk (1 or more) to a chunk.
    chunkarray(int recsize, int perchunk);
    ~chunkarray();
    chunkarray(const chunkarray&) = delete;
    chunkarray& operator=(const chunkarray&) = delete;

    // Copies recsize bytes from record behind the last record; returns the
    // stored copy, or null when no chunk could be had (nothing changes then).
    void* append(const void* record);
    int count() const { return nrec; }
    // A position of 0 or less puts the cursor on the first record; a larger
    // one leaves the cursor where it is.
    void rewind(int position);
    // The record at the cursor, moving the cursor on; null at the end. A
    // cursor at the end stays there: records appended later are handed out
    // by the next calls.
    void* next();
    void* first();

    void setallocator(chunkallocator* a) { allocator = a; }

protected:
    int recsize;
    int perchunk;
    int nrec = 0;
    char* firstchunk = nullptr;
    char* tailchunk = nullptr;
    int iterpos = 0;
    char* iterchunk = nullptr;  // the chunk of record iterpos - 1 (unused while iterpos is 0)
    chunkallocator* allocator = nullptr;

private:
    // A chunk begins with a header (the next chunk and whether the chunk came
    // from the heap), padded so that the records behind it are aligned.
    static char* link(const char* chunk);
    static void setlink(char* chunk, char* next);
    char* record(char* chunk, int index) const;
};

class chunkmap : public chunkarray {
public:
    // Records of keywidth + valuesize bytes (at most 1024); keys of at most
    // keywidth - 1 chars (longer ones are cut); keywidth is 1 or more.
    chunkmap(int valuesize, int perchunk, int keywidth);

    // Stores a copy of the value under the key; duplicates are kept. Returns
    // the stored value, or null.
    void* insert(const void* value, const char* key);
    // The value at the cursor and its key; null (and key null) at the end.
    void* first(const char*& key);
    void* next(const char*& key);
    // The value of the first record, in insertion order, whose key equals
    // name exactly. Moves the cursor: behind the hit, or to the end.
    void* find(const char* name);

    using chunkarray::first;
    using chunkarray::next;

protected:
    int keywidth;
};

}  // namespace ostra

#endif
