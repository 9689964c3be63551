// Fuzz target for chunkarray and chunkmap: the input is a sequence of
// operations (append, insert, next, first, rewind, find, allocator changes)
// run against the real container and against a plain std::vector model; every
// result is compared, and every record handed out earlier must still hold its
// bytes (records never move).
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "support/chunkarray.h"

namespace {

void check(bool ok, const char* what) {
    if (!ok) {
        std::fprintf(stderr, "chunkarray_fuzz: check failed: %s\n", what);
        std::abort();
    }
}

// The operation bytes, read one at a time; 0 once they are used up.
class bytes {
public:
    bytes(const std::uint8_t* d, std::size_t n) : d_(d), n_(n) {}
    bool more() const { return i_ < n_; }
    std::uint8_t take() { return i_ < n_ ? d_[i_++] : 0; }

private:
    const std::uint8_t* d_;
    std::size_t n_;
    std::size_t i_ = 0;
};

// Chunk memory that the test owns; a request fails while fail is set. The
// pool outlives the container, which never gives these chunks back.
struct pool : ostra::chunkallocator {
    bool fail = false;
    std::vector<std::unique_ptr<char[]>> chunks;
    void* allocate(int size) override {
        if (fail || size <= 0) return nullptr;
        chunks.emplace_back(new char[static_cast<std::size_t>(size)]);
        return chunks.back().get();
    }
};

struct model {
    std::vector<std::string> records;  // the full record bytes (key, then value)
    std::vector<const char*> stored;   // where the container put each one
    std::size_t cursor = 0;
};

void checkrecord(const model& m, std::size_t i, const void* p, int recsize) {
    check(p != nullptr, "a record exists where the model has one");
    check(std::memcmp(p, m.records[i].data(), static_cast<std::size_t>(recsize)) == 0, "a record holds its bytes");
    check(p == m.stored[i], "a record stays where it was stored");
}

// Operations on a chunkarray (and, through the base, a chunkmap).
void arrayop(ostra::chunkarray& a, model& m, int recsize, int offset, unsigned op, bytes& in) {
    switch (op) {
    case 0: {  // next
        void* p = a.next();
        if (m.cursor < m.records.size()) {
            checkrecord(m, m.cursor, p, recsize);
            ++m.cursor;
        } else {
            check(p == nullptr, "next() at the end gives null");
        }
        break;
    }
    case 1: {  // first
        void* p = a.first();
        m.cursor = 0;
        if (m.records.empty()) {
            check(p == nullptr, "first() of an empty array gives null");
        } else {
            checkrecord(m, 0, p, recsize);
            m.cursor = 1;
        }
        break;
    }
    case 2: {  // rewind to -2 .. 2
        int pos = static_cast<int>(in.take() % 5) - 2;
        a.rewind(pos);
        if (pos <= 0) m.cursor = 0;
        break;
    }
    case 3:  // every record still in place
        check(a.count() == static_cast<int>(m.records.size()), "count() is the number of records stored");
        for (std::size_t i = 0; i < m.records.size(); ++i) checkrecord(m, i, m.stored[i], recsize);
        break;
    default:
        (void)offset;
        break;
    }
}

void runarray(bytes& in) {
    int recsize = 1 + in.take() % 48;
    int perchunk = 1 + in.take() % 9;
    pool chunks;
    model m;
    auto a = std::make_unique<ostra::chunkarray>(recsize, perchunk);
    std::uint8_t fill = 0;
    while (in.more()) {
        unsigned op = in.take() % 7;
        if (op == 4) {  // append
            std::string r(static_cast<std::size_t>(recsize), '\0');
            for (char& c : r) c = static_cast<char>(fill++);
            void* p = a->append(r.data());
            if (p) {
                m.records.push_back(r);
                m.stored.push_back(static_cast<const char*>(p));
                checkrecord(m, m.records.size() - 1, p, recsize);
            }
            check(p || (chunks.fail && m.records.size() % static_cast<std::size_t>(perchunk) == 0),
                  "append fails only when a new chunk is refused");
        } else if (op == 5) {  // switch the chunk source: the pool, failing or not, or the heap
            unsigned s = in.take() % 3;
            chunks.fail = s == 1;
            a->setallocator(s == 2 ? nullptr : &chunks);
        } else if (op == 6) {
            chunks.fail = !chunks.fail;
        } else {
            arrayop(*a, m, recsize, 0, op, in);
        }
    }
    a.reset();  // must free exactly the chunks it took from the heap
}

// A key of up to 31 input bytes, NUL-terminated.
std::string takekey(bytes& in) {
    std::size_t n = in.take() % 32;
    std::string k;
    for (std::size_t i = 0; i < n; ++i) {
        char c = static_cast<char>(in.take() % 4 + 'a');  // a small alphabet, so keys repeat
        k += c;
    }
    return k;
}

void runmap(bytes& in) {
    int valuesize = in.take() % 24;
    int perchunk = 1 + in.take() % 9;
    int keywidth = 1 + in.take() % 24;
    int recsize = keywidth + valuesize;
    pool chunks;
    model m;
    auto map = std::make_unique<ostra::chunkmap>(valuesize, perchunk, keywidth);
    std::uint8_t fill = 0;
    while (in.more()) {
        unsigned op = in.take() % 8;
        if (op == 4) {  // insert
            std::string key = takekey(in);
            std::string value(static_cast<std::size_t>(valuesize), '\0');
            for (char& c : value) c = static_cast<char>(fill++);
            std::string r = key.substr(0, static_cast<std::size_t>(keywidth - 1));
            r.resize(static_cast<std::size_t>(keywidth), '\0');
            r += value;
            void* v = map->insert(value.data(), key.c_str());
            if (v) {
                m.records.push_back(r);
                m.stored.push_back(static_cast<const char*>(v) - keywidth);
                checkrecord(m, m.records.size() - 1, m.stored.back(), recsize);
            }
            check(v || (chunks.fail && m.records.size() % static_cast<std::size_t>(perchunk) == 0),
                  "insert fails only when a new chunk is refused");
        } else if (op == 5) {  // find: the first equal key; the cursor behind it or at the end
            std::string key = takekey(in);
            void* v = map->find(key.c_str());
            std::size_t i = 0;
            while (i < m.records.size() && std::strcmp(m.records[i].c_str(), key.c_str()) != 0) ++i;
            if (i < m.records.size()) {
                checkrecord(m, i, static_cast<char*>(v) - keywidth, recsize);
                m.cursor = i + 1;
            } else {
                check(v == nullptr, "find() of a missing key gives null");
                m.cursor = m.records.size();
            }
        } else if (op == 6) {  // the keyed cursor
            const char* key = "unset";
            void* v = (in.take() & 1) ? map->next(key) : (m.cursor = 0, map->first(key));
            if (m.cursor < m.records.size()) {
                check(key == m.stored[m.cursor], "the key precedes its value");
                checkrecord(m, m.cursor, static_cast<char*>(v) - keywidth, recsize);
                ++m.cursor;
            } else {
                check(v == nullptr && key == nullptr, "the keyed cursor at the end gives null");
            }
        } else if (op == 7) {
            unsigned s = in.take() % 3;
            chunks.fail = s == 1;
            map->setallocator(s == 2 ? nullptr : &chunks);
        } else {
            arrayop(*map, m, recsize, keywidth, op, in);
        }
    }
    map.reset();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    bytes in(data, size);
    if (in.take() & 1)
        runmap(in);
    else
        runarray(in);
    return 0;
}
