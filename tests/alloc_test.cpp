// Forced allocation failures. This executable replaces the global operator
// new, which the library uses for everything it allocates (its state, its
// tables, block storage), and makes one allocation fail at a time: the
// first, the second, ... up to the last one made while reading a drawing
// with layers, blocks, nested and array inserts and polylines of both forms.
// Each time the reader must not crash or leak, must deliver a prefix of the
// whole drawing, and must say outofmemory when the failure stopped it.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <new>
#include <string>
#include <vector>

#include "testutil.h"

namespace {

// Every allocation carries a header telling whether it was made while
// tracking, so that the frees of tracked ones can be counted.
struct alignas(16) header {
    bool tracked;
};

bool tracking = false;
long long live = 0;        // tracked allocations not freed yet
long long made = 0;        // tracked allocations made so far
long long failat = 0;      // the tracked allocation that fails (1-based); 0: none
bool failed = false;       // that allocation was asked for

// Out of line, so that the compiler does not pair the header arithmetic with
// the callers' own objects.
__attribute__((noinline)) void* allocate(std::size_t n) {
    bool fail = false;
    if (tracking) {
        ++made;
        fail = made == failat;
        failed = failed || fail;
    }
    if (fail) return nullptr;
    auto* h = static_cast<header*>(std::malloc(sizeof(header) + (n ? n : 1)));
    if (!h) return nullptr;
    h->tracked = tracking;
    if (tracking) ++live;
    return h + 1;
}

__attribute__((noinline)) void release(void* p) {
    if (!p) return;
    header* h = static_cast<header*>(p) - 1;
    if (h->tracked) --live;
    std::free(h);
}

}  // namespace

void* operator new(std::size_t n) {
    void* p = allocate(n);
    if (!p) throw std::bad_alloc();
    return p;
}
void* operator new[](std::size_t n) { return operator new(n); }
void* operator new(std::size_t n, const std::nothrow_t&) noexcept { return allocate(n); }
void* operator new[](std::size_t n, const std::nothrow_t&) noexcept { return allocate(n); }
void operator delete(void* p) noexcept { release(p); }
void operator delete[](void* p) noexcept { release(p); }
void operator delete(void* p, std::size_t) noexcept { release(p); }
void operator delete[](void* p, std::size_t) noexcept { release(p); }

namespace {

using testutil::describe;
using testutil::dxf;
using S = std::vector<std::string>;

std::string drawing() {
    S p = {"0", "SECTION", "2", "BLOCKS"};
    auto add = [&p](const S& more) { p.insert(p.end(), more.begin(), more.end()); };
    add({"0", "BLOCK", "2", "BOLT", "10", "0", "20", "0", "0", "CIRCLE", "8", "HOLES", "40", "2"});
    add({"0", "LWPOLYLINE", "8", "HOLES", "70", "1", "10", "0", "20", "0", "42", "1", "10", "4", "20", "0"});
    add({"0", "ENDBLK", "0", "BLOCK", "2", "FLANGE", "10", "1", "20", "1"});
    add({"0", "INSERT", "2", "BOLT", "10", "5", "20", "5", "70", "2", "71", "2", "44", "10", "45", "10"});
    add({"0", "INSERT", "2", "LATER", "10", "5"});
    add({"0", "ARC", "8", "RIM", "40", "20", "50", "0", "51", "90", "0", "ENDBLK"});
    add({"0", "BLOCK", "2", "LATER", "0", "LINE", "8", "L", "11", "1", "0", "ENDBLK", "0", "ENDSEC"});
    add({"0", "SECTION", "2", "ENTITIES"});
    for (int i = 0; i < 40; ++i) add({"0", "LINE", "8", "LAYER" + std::to_string(i), "10", std::to_string(i), "11", "1"});
    // A long name and a second spelling, which the exact reading keys.
    add({"0", "LINE", "8", std::string(100, 'N') + "long", "11", "1", "0", "LINE", "8", "layer3", "11", "2"});
    add({"0", "INSERT", "8", "PARTS", "2", "FLANGE", "10", "100", "50", "30", "41", "2"});
    add({"0", "POLYLINE", "8", "P", "70", "1", "0", "VERTEX", "10", "1", "42", "0.5", "0", "VERTEX", "10", "2",
         "20", "3", "0", "VERTEX", "20", "7", "0", "SEQEND"});
    add({"0", "LWPOLYLINE", "8", "W", "70", "1"});
    for (int i = 0; i < 60; ++i) add({"10", std::to_string(i), "20", std::to_string(i % 7), "42", "0.25"});
    add({"0", "SPLINE", "8", "S", "71", "3"});
    for (int i = 0; i < 12; ++i) add({"10", std::to_string(i), "20", std::to_string(i % 3), "40", std::to_string(i)});
    add({"40", "12", "40", "13", "40", "14", "40", "15"});
    add({"0", "LEADER", "72", "1", "10", "0", "20", "0", "10", "5", "20", "5", "10", "9", "20", "0"});
    add({"0", "INSERT", "2", "FLANGE", "10", "-100", "0", "ENDSEC", "0", "EOF"});
    return dxf(p);
}

struct outcome {
    S got;
    ostra::readstatus status;
    long long leaked;
    long long allocations;
};

// Reads the whole drawing with allocation number fail failing (0: none),
// walking the layer and block tables at the end as a host would.
outcome readfailing(const std::string& text, bool exact, long long fail) {
    testutil::memstream m(text);
    std::vector<brevo::geometry> got;
    got.reserve(1000);  // the test's own storage, taken before tracking
    outcome o;
    long long before = live;
    made = 0;
    failat = fail;
    failed = false;
    tracking = true;
    {
        ostra::reader r(m.get());
        r.setexact(exact);
        brevo::geometry g;
        while (got.size() < got.capacity() && r.next(g)) got.push_back(g);
        o.status = r.status();
        int n = 0;
        for (const char* s = r.firstlayer(n); s; s = r.nextlayer(n)) {
        }
        for (const char* s = r.firstblock(n); s; s = r.nextblock(n)) {
        }
    }
    tracking = false;
    o.leaked = live - before;
    o.allocations = made;
    for (const brevo::geometry& g : got) o.got.push_back(describe(g));
    return o;
}

TEST(AllocationFailure, EveryAllocationWhileReadingFailsInTurn) {
    const std::string text = drawing();
    for (bool exact : {false, true}) {
        const outcome full = readfailing(text, exact, 0);
        ASSERT_EQ(full.status, ostra::endofdrawing);
        ASSERT_EQ(full.leaked, 0);
        ASSERT_GT(full.got.size(), 100u);
        ASSERT_GT(full.allocations, 20);
        for (long long k = 1; k <= full.allocations; ++k) {
            outcome o = readfailing(text, exact, k);
            ASSERT_TRUE(failed) << k;
            EXPECT_EQ(o.leaked, 0) << "allocation " << k;
            EXPECT_EQ(o.status, ostra::outofmemory) << "allocation " << k;
            ASSERT_LT(o.got.size(), full.got.size()) << k;
            EXPECT_TRUE(std::equal(o.got.begin(), o.got.end(), full.got.begin())) << "allocation " << k;
        }
    }
}

// next() without an argument allocates the geometry it returns before it
// reads: when that fails nothing is lost, and a later call goes on.
TEST(AllocationFailure, NextWithoutArgumentLosesNothing) {
    const std::string text = drawing();
    const S full = readfailing(text, false, 0).got;
    testutil::memstream m(text);
    ostra::reader r(m.get());
    S got;
    for (int i = 0; i < 5; ++i) {
        brevo::geometry* g = r.next();
        ASSERT_NE(g, nullptr);
        got.push_back(describe(*g));
        delete g;
    }
    made = 0;
    failat = 1;
    failed = false;
    tracking = true;
    brevo::geometry* none = r.next();
    tracking = false;
    EXPECT_TRUE(failed);
    EXPECT_EQ(none, nullptr);
    EXPECT_EQ(r.status(), ostra::outofmemory);
    EXPECT_EQ(r.currentlayer(), nullptr);
    while (brevo::geometry* g = r.next()) {
        got.push_back(describe(*g));
        delete g;
    }
    EXPECT_EQ(r.status(), ostra::endofdrawing);
    EXPECT_EQ(got, full);
}

}  // namespace
