// chunkarray and chunkmap: order across chunks, stable records, keys, the
// one cursor and allocation failure.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "support/chunkarray.h"

using ostra::chunkarray;
using ostra::chunkmap;

namespace {

int valueat(void* p) {
    int v;
    std::memcpy(&v, p, sizeof v);
    return v;
}

TEST(ChunkArray, EmptyArrayAndMap) {
    chunkarray a(sizeof(int), 64);
    EXPECT_EQ(a.count(), 0);
    EXPECT_EQ(a.first(), nullptr);
    EXPECT_EQ(a.next(), nullptr);
    chunkmap m(sizeof(int), 64, 64);
    const char* key = "x";
    EXPECT_EQ(m.first(key), nullptr);
    EXPECT_EQ(key, nullptr);
    EXPECT_EQ(m.find("x"), nullptr);
}

TEST(ChunkArray, RecordsStayInOrderAndInPlaceAcrossChunks) {
    chunkarray a(sizeof(int), 64);
    std::vector<void*> stored;
    for (int i = 0; i < 65; ++i) stored.push_back(a.append(&i));
    EXPECT_EQ(a.count(), 65);
    int i = 0;
    for (void* p = a.first(); p; p = a.next(), ++i) {
        EXPECT_EQ(valueat(p), i);
        EXPECT_EQ(p, stored[static_cast<std::size_t>(i)]);
    }
    EXPECT_EQ(i, 65);
    EXPECT_EQ(a.next(), nullptr);
    for (int j = 65; j < 1000; ++j) a.append(&j);
    for (int j = 0; j < 65; ++j) EXPECT_EQ(valueat(stored[static_cast<std::size_t>(j)]), j);
    // A position above 0 leaves the cursor alone.
    a.first();
    a.rewind(5);
    EXPECT_EQ(valueat(a.next()), 1);
}

struct failing : ostra::chunkallocator {
    bool fail = true;
    std::vector<std::vector<char>> chunks;
    void* allocate(int bytes) override {
        if (fail) return nullptr;
        chunks.emplace_back(static_cast<std::size_t>(bytes));
        return chunks.back().data();
    }
};

TEST(ChunkArray, FailedChunkLeavesTheArrayUsable) {
    failing alloc;
    chunkarray a(sizeof(int), 2);
    a.setallocator(&alloc);
    int v = 7;
    EXPECT_EQ(a.append(&v), nullptr);
    EXPECT_EQ(a.count(), 0);
    EXPECT_EQ(a.first(), nullptr);
    alloc.fail = false;
    ASSERT_NE(a.append(&v), nullptr);
    v = 8;
    a.append(&v);
    alloc.fail = true;
    v = 9;
    EXPECT_EQ(a.append(&v), nullptr);  // a third record needs a second chunk
    EXPECT_EQ(a.count(), 2);
    EXPECT_EQ(valueat(a.first()), 7);
    EXPECT_EQ(valueat(a.next()), 8);
    EXPECT_EQ(a.next(), nullptr);
}

TEST(ChunkMap, KeysAreCutToTheirWidth) {
    chunkmap m(sizeof(int), 64, 64);
    std::string k63(63, 'a'), k70 = std::string(63, 'b') + "1234567";
    int one = 1, two = 2;
    m.insert(&one, k63.c_str());
    m.insert(&two, k70.c_str());
    EXPECT_EQ(valueat(m.find(k63.c_str())), 1);
    EXPECT_EQ(m.find(k70.c_str()), nullptr);
    EXPECT_EQ(valueat(m.find(k70.substr(0, 63).c_str())), 2);
    const char* key;
    m.first(key);
    m.next(key);
    EXPECT_EQ(std::string(key), k70.substr(0, 63));
}

TEST(ChunkMap, DuplicatesCaseAndTheSharedCursor) {
    chunkmap m(sizeof(int), 2, 16);
    const char* names[] = {"one", "Two", "two", "four", "two"};
    for (int i = 0; i < 5; ++i) m.insert(&i, names[i]);
    EXPECT_EQ(valueat(m.find("two")), 2);  // the first of two equal keys
    EXPECT_EQ(m.find("TWO"), nullptr);
    EXPECT_EQ(m.find("tw"), nullptr);
    const char* key;
    // After a hit on the third record the cursor hands out the fourth...
    m.find("two");
    EXPECT_EQ(valueat(m.next(key)), 3);
    EXPECT_STREQ(key, "four");
    // ... after a miss, nothing.
    m.find("none");
    EXPECT_EQ(m.next(key), nullptr);
    EXPECT_EQ(key, nullptr);
    std::vector<std::string> all;
    for (void* v = m.first(key); v; v = m.next(key)) all.push_back(key);
    EXPECT_EQ(all, (std::vector<std::string>{"one", "Two", "two", "four", "two"}));
}

}  // namespace
