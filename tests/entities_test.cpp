// Entity assembly: which records produce what, and which next() call
// returns which entity.
#include <gtest/gtest.h>

#include <clocale>
#include <cstdio>
#include <thread>

#include "testutil.h"

using testutil::describe;
using testutil::dxf;
using testutil::entities;
using testutil::memstream;
using testutil::readall;
using V = std::vector<std::string>;

namespace {

V arcwith(const char* a0, const char* a1) {
    return readall(entities({"0", "ARC", "10", "1", "20", "2", "40", "2", "50", a0, "51", a1, "0", "X"}));
}

TEST(EntitiesArc, AngleRules) {
    // End before start: 360 added once.
    EXPECT_EQ(arcwith("350", "10"), V{"arc c(1,2,0) n(0,0,1) s(2.96962,1.6527,0) a20"});
    EXPECT_EQ(arcwith("720", "0"), V{"arc c(1,2,0) n(0,0,1) s(3,2,0) a-360"});
    EXPECT_EQ(arcwith("45", "45"), V{"arc c(1,2,0) n(0,0,1) s(2.41421,3.41421,0) a0"});
    EXPECT_EQ(arcwith("0", "360"), V{"arc c(1,2,0) n(0,0,1) s(3,2,0) a360"});
    EXPECT_EQ(arcwith("90", "180"), V{"arc c(1,2,0) n(0,0,1) s(1,4,0) a90"});
}

TEST(EntitiesKinds, LineCircleDefaultsAndUnknownRecords) {
    EXPECT_EQ(readall(entities({"0", "CIRCLE", "10", "1", "20", "2", "30", "3", "0", "line", "10", "1",
                                "0", "LINE", "10", "1", "20", "2", "11", "3", "21", "4", "0", "X"})),
              (V{"circle c(1,2,3) r0", "line (1,2,0) (3,4,0)"}));
    // Non-numeric texts convert by their numeric prefix, or to 0.
    EXPECT_EQ(readall(entities({"0", "LINE", "10", "1.5mm", "20", "abc", "0", "X"})),
              V{"line (1.5,0,0) (0,0,0)"});
}

TEST(EntitiesSection, NothingBeforeEntitiesAndAnyGroup2EntitiesTurnsItOn) {
    std::string before = dxf({"0", "SECTION", "2", "HEADER", "0", "LINE", "10", "1", "0", "ENDSEC"});
    EXPECT_EQ(readall(before), V{});
    // A record named otherwise but carrying 2/ENTITIES turns reading on.
    EXPECT_EQ(readall(dxf({"0", "FOO", "2", "ENTITIES", "0", "CIRCLE", "40", "1", "0", "X"})),
              V{"circle c(0,0,0) r1"});
}

TEST(EntitiesEnd, LastRecordWithoutFollowingGroupZeroIsDropped) {
    EXPECT_EQ(readall(dxf({"0", "SECTION", "2", "ENTITIES", "0", "LINE", "10", "1"})), V{});
}

TEST(EntitiesTiming, EachCallReturnsOneRecordAfterReadingTheNextName) {
    std::string text = entities({"0", "LINE", "10", "1", "0", "LINE", "10", "2", "0", "CIRCLE"});
    memstream m(text);
    ostra::reader r(m.get());
    brevo::geometry g;
    ASSERT_EQ(r.next(g), &g);
    EXPECT_EQ(describe(g), "line (1,0,0) (0,0,0)");
    // The stream stands just behind the second record's name.
    std::string head = dxf({"0", "SECTION", "2", "ENTITIES", "0", "LINE", "10", "1", "0", "LINE"});
    EXPECT_EQ(std::ftell(m.get()), static_cast<long>(head.size()));
    ASSERT_EQ(r.next(g), &g);
    EXPECT_EQ(describe(g), "line (2,0,0) (0,0,0)");
    head = dxf({"0", "SECTION", "2", "ENTITIES", "0", "LINE", "10", "1", "0", "LINE", "10", "2", "0", "CIRCLE"});
    EXPECT_EQ(std::ftell(m.get()), static_cast<long>(head.size()));
}

// Once the process has a second thread the reader holds the stream's lock
// while it reads; results and stream positions stay as they are without.
TEST(EntitiesTiming, SameResultsAndPositionsWhenTheProcessHasThreads) {
    const std::string text = entities({"0", "LINE", "10", "1", "0", "ARC", "40", "2", "51", "90", "0", "CIRCLE"});
    auto run = [&text](V& got, std::vector<long>& at) {
        memstream m(text);
        ostra::reader r(m.get());
        brevo::geometry g;
        while (r.next(g)) {
            got.push_back(describe(g));
            at.push_back(std::ftell(m.get()));
        }
    };
    V want, got, after;
    std::vector<long> wantat, gotat, afterat;
    run(want, wantat);
    std::thread worker([&] { run(got, gotat); });
    worker.join();
    run(after, afterat);
    ASSERT_EQ(want.size(), 3u);
    EXPECT_EQ(got, want);
    EXPECT_EQ(gotat, wantat);
    EXPECT_EQ(after, want);
    EXPECT_EQ(afterat, wantat);
}

TEST(EntitiesTiming, HeapFormOwnsItsResult) {
    memstream m(entities({"0", "CIRCLE", "40", "2", "0", "X"}));
    ostra::reader r(m.get());
    brevo::geometry* g = r.next();
    ASSERT_NE(g, nullptr);
    EXPECT_EQ(describe(*g), "circle c(0,0,0) r2");
    delete g;
    EXPECT_EQ(r.next(), nullptr);
}

TEST(EntitiesHeader, Group9EndsRecordsAndMayNameOne) {
    // $EXTMIN and the like start records of no kind; a group 9 named LINE
    // starts a LINE as a group 0 would.
    std::string text = dxf({"0", "SECTION", "2", "ENTITIES", "0", "CIRCLE", "40", "1", "9", "$EXTMIN",
                            "10", "5", "9", "LINE", "10", "7", "0", "X"});
    EXPECT_EQ(readall(text), (V{"circle c(0,0,0) r1", "line (7,0,0) (0,0,0)"}));
}

TEST(EntitiesLocale, CommaDecimalLocaleReadsTheSame) {
    if (!std::setlocale(LC_ALL, "de_DE.UTF-8")) GTEST_SKIP() << "no de_DE.UTF-8 locale";
    V got = readall(entities({"0", "LINE", "10", "1.25", "20", "-0.5", "11", "1e3", "0", "X"}));
    std::setlocale(LC_ALL, "C");
    EXPECT_EQ(got, V{"line (1.25,-0.5,0) (1000,0,0)"});
}

}  // namespace
