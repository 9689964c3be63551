// The generator's presets of text and areas: the same options give the same
// bytes of about the size asked for, the groups stand in the order and
// number the format gives them, handles and owners agree, and the reader
// reads them to their end in both readings and in the binary form.
#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <vector>

#include "dxfbinary.h"
#include "dxfgen.h"
#include "ostra/reader.h"
#include "testutil.h"

namespace {

struct group {
    int code;
    std::string value;  // as written, blanks kept
};

std::vector<group> groupsof(const std::string& text) {
    std::vector<group> all;
    std::size_t at = 0;
    while (at < text.size()) {
        std::size_t a = text.find('\n', at), b = text.find('\n', a + 1);
        if (a == std::string::npos || b == std::string::npos) break;
        all.push_back({std::stoi(text.substr(at, a - at)), text.substr(a + 1, b - a - 1)});
        at = b + 1;
    }
    return all;
}

// The records of a drawing: name and groups.
using record = std::pair<std::string, std::vector<group>>;
std::vector<record> recordsof(const std::string& text) {
    std::vector<record> all;
    for (const group& g : groupsof(text)) {
        if (g.code == 0)
            all.push_back({g.value, {}});
        else if (!all.empty())
            all.back().second.push_back(g);
    }
    return all;
}

int count(const std::vector<group>& gs, int code) {
    int n = 0;
    for (const group& g : gs) n += g.code == code;
    return n;
}

std::string preset(dxfgen::preset kind, double mb, std::uint64_t seed = 1) {
    dxfgen::options o;
    o.kind = kind;
    o.megabytes = mb;
    o.layers = 8;
    o.seed = seed;
    char* buf = nullptr;
    std::size_t size = 0;
    FILE* f = open_memstream(&buf, &size);
    dxfgen::generate(f, o);
    std::fclose(f);
    std::string s(buf, size);
    std::free(buf);
    return s;
}

TEST(GeneratorPresets, SameOptionsSameBytesOfTheSizeAskedFor) {
    for (const char* name : {"text", "hatch"}) {
        dxfgen::preset kind;
        ASSERT_TRUE(dxfgen::parsepreset(name, kind));
        const std::string a = preset(kind, 0.4), b = preset(kind, 0.4);
        EXPECT_EQ(a, b) << name;
        EXPECT_NE(a, preset(kind, 0.4, 2)) << name;
        EXPECT_GE(a.size(), 400000u) << name;
        EXPECT_LT(a.size(), 410000u) << name;
    }
}

// Every handle is given once; every owner is a handle of the drawing.
TEST(GeneratorPresets, HandlesAndOwnersAgree) {
    for (dxfgen::preset kind : {dxfgen::preset::text, dxfgen::preset::hatch}) {
        std::set<std::string> handles;
        std::vector<std::string> owners;
        for (const record& r : recordsof(preset(kind, 0.2)))
            for (const group& g : r.second) {
                if (g.code == 5 || g.code == 105) {
                    EXPECT_TRUE(handles.insert(g.value).second) << g.value;
                }
                if (g.code == 330) owners.push_back(g.value);
            }
        for (const std::string& o : owners)
            if (o != "0") {
                EXPECT_EQ(handles.count(o), 1u) << o;
            }
    }
}

TEST(GeneratorPresets, TextRecordsAsTheFormatHasThem) {
    const std::vector<record> all = recordsof(preset(dxfgen::preset::text, 0.5));
    std::set<std::string> alignments, blocks;
    std::map<std::string, std::string> inserts;  // handle of an insert with attributes -> "A" per ATTRIB, "S"
    int chunked = 0, dimensions = 0;
    std::string lastinsert;
    for (const record& r : all) {
        const std::vector<group>& gs = r.second;
        auto value = [&gs](int code) {
            for (const group& g : gs)
                if (g.code == code) return g.value;
            return std::string();
        };
        if (r.first == "BLOCK") blocks.insert(value(2));
        if (r.first == "TEXT") alignments.insert(value(72) + "/" + value(73));
        if (r.first == "MTEXT") {
            // Groups 3 of 250 chars each, then one group 1 of fewer.
            bool seen1 = false;
            for (const group& g : gs) {
                if (g.code == 3) {
                    EXPECT_FALSE(seen1);
                    EXPECT_EQ(g.value.size(), 250u);
                }
                if (g.code == 1) {
                    seen1 = true;
                    EXPECT_LT(g.value.size(), 250u);
                }
            }
            EXPECT_TRUE(seen1);
            chunked += count(gs, 3) > 0;
        }
        if (r.first == "INSERT" && value(66) == "     1") lastinsert = value(5);
        if ((r.first == "ATTRIB" || r.first == "SEQEND") && !lastinsert.empty()) {
            EXPECT_EQ(value(330), lastinsert);
            inserts[lastinsert] += r.first == "ATTRIB" ? "A" : "S";
            if (r.first == "SEQEND") lastinsert.clear();
        }
        if (r.first == "DIMENSION") {
            ++dimensions;
            EXPECT_EQ(blocks.count(value(2)), 1u) << value(2);
        }
    }
    EXPECT_EQ(alignments.size(), 15u);  // "/" and 72 1-5 with 73 1-3 where they go together
    EXPECT_GT(chunked, 3);
    EXPECT_GT(dimensions, 30);
    ASSERT_GT(inserts.size(), 10u);
    for (const auto& i : inserts) {
        EXPECT_TRUE(i.second == "AAAS" || i.second == "AAS") << i.second;
    }
}

TEST(GeneratorPresets, HatchRecordsAsTheFormatHasThem) {
    std::set<std::string> styles, edges, gradients;
    int withbulges = 0, patterned = 0, islands = 0;
    for (const record& r : recordsof(preset(dxfgen::preset::hatch, 0.5))) {
        if (r.first != "HATCH") continue;
        const std::vector<group>& gs = r.second;
        int paths = 0, lines = 0, dashes = 0, dashcount = 0;
        for (std::size_t i = 0; i < gs.size(); ++i) {
            const group& g = gs[i];
            if (g.code == 91) paths = std::stoi(g.value);
            if (g.code == 72 && i > 0 && gs[i - 1].code == 92) withbulges += g.value == "     1";
            if (g.code == 72 && i > 0 && gs[i - 1].code != 92) edges.insert(g.value);
            if (g.code == 75) styles.insert(g.value);
            if (g.code == 78) lines = std::stoi(g.value);
            if (g.code == 79) dashcount += std::stoi(g.value);
            if (g.code == 49) ++dashes;
            if (g.code == 470) gradients.insert(g.value);
        }
        EXPECT_EQ(count(gs, 92), paths);
        EXPECT_EQ(count(gs, 53), lines);
        EXPECT_EQ(dashes, dashcount);
        patterned += lines > 0;
        islands += paths == 3;
    }
    EXPECT_EQ(styles.size(), 3u);
    EXPECT_EQ(edges, (std::set<std::string>{"     1", "     2", "     3", "     4"}));
    EXPECT_GT(withbulges, 0);
    EXPECT_GT(patterned, 10);
    EXPECT_GT(islands, 10);
    EXPECT_GE(gradients.size(), 5u);
}

// Read to their end, from a stream and from memory, in both readings, and
// in the binary form as in the text form; what is not read yet is counted.
TEST(GeneratorPresets, ReadToTheEndInEveryForm) {
    for (dxfgen::preset kind : {dxfgen::preset::text, dxfgen::preset::hatch}) {
        const std::string text = preset(kind, 0.2);
        std::string binary, error;
        ASSERT_TRUE(dxfbinary::convert(text, dxfbinary::codewidth::byversion, binary, error)) << error;
        for (bool exact : {false, true}) {
            testutil::reading t = testutil::samebothways(text, exact);
            testutil::reading b = testutil::samebothways(binary, exact);
            EXPECT_EQ(t.geometries, b.geometries);
            EXPECT_EQ(t.printed, "");
            ostra::reader r(text.data(), text.size());
            r.setexact(exact);
            brevo::geometry g;
            while (r.next(g)) {
            }
            EXPECT_EQ(r.status(), ostra::endofdrawing);
            std::map<std::string, int> skipped;
            int n = 0;
            for (const char* name = r.firstskipped(n); name; name = r.nextskipped(n)) skipped[name] = n;
            EXPECT_GT(skipped[kind == dxfgen::preset::text ? "MTEXT" : "HATCH"], 50);
        }
    }
}

}  // namespace
