#include "dxfframe.h"

#include <cstring>

namespace dxfgen {

namespace {

// Fixed handles of the tables and of the records every drawing holds.
constexpr handle blockrecords = 0x1, layers = 0x2, styletable = 0x3, linetypetable = 0x5, views = 0x6, ucss = 0x7,
                 viewports = 0x8, appids = 0x9, dimstyles = 0xA, groups = 0xD, acadapp = 0x12, byblock = 0x14,
                 bylayer = 0x15, continuous = 0x16, activeviewport = 0x29;

// Later releases count the instances of a class; R2000 does not.
bool countsinstances(const char* version) { return std::strcmp(version, "AC1018") >= 0; }

const char* const layerwords[] = {"WALL", "DOOR", "WINDOW", "DIM", "TEXT", "HATCH", "GRID", "AXIS",
                                  "FURN", "ELEC", "PLUMB", "ROOF", "STAIR", "COLUMN", "BEAM", "SITE"};

}  // namespace

std::vector<layerdef> presetlayers(int n, rng& r) {
    static const char* const linetypes[] = {"CONTINUOUS", "CONTINUOUS", "CONTINUOUS", "DASHED", "CENTER", "DOT"};
    static const int weights[] = {-3, -3, 13, 18, 25, 35, 50, 70};
    std::vector<layerdef> all = {{"0", 7, "CONTINUOUS", -3}, {"Defpoints", 7, "CONTINUOUS", -3}};
    for (int i = 0; i < n; ++i) {
        char b[64];
        std::snprintf(b, sizeof b, "%s-%s-%02d", i % 3 == 0 ? "A" : (i % 3 == 1 ? "S" : "M"), layerwords[i % 16],
                      i / 16);
        all.push_back({b, 1 + r.below(255), linetypes[r.below(6)], weights[r.below(8)]});
    }
    return all;
}

void frame::section(const char* name) {
    s_.text(0, "SECTION");
    s_.text(2, name);
}

void frame::header(double ltscale) {
    section("HEADER");
    s_.text(9, "$ACADVER");
    s_.text(1, version_);
    // From R2007 (AC1021) on the text is UTF-8 whatever the code page says.
    s_.text(9, "$DWGCODEPAGE");
    s_.text(3, "ANSI_1252");
    s_.text(9, "$INSBASE");
    s_.real(10, 0);
    s_.real(20, 0);
    s_.real(30, 0);
    s_.text(9, "$EXTMIN");
    s_.real(10, -5000);
    s_.real(20, -5000);
    s_.real(30, 0);
    s_.text(9, "$EXTMAX");
    s_.real(10, 5000);
    s_.real(20, 5000);
    s_.real(30, 0);
    s_.text(9, "$LTSCALE");
    s_.real(40, ltscale);
    s_.text(9, "$TEXTSIZE");
    s_.real(40, 2.5);
    s_.text(9, "$TEXTSTYLE");
    s_.text(7, "STANDARD");
    s_.text(9, "$DIMSTYLE");
    s_.text(2, "STANDARD");
    s_.text(9, "$INSUNITS");
    s_.integer(70, 4);
    s_.text(9, "$MEASUREMENT");
    s_.integer(70, 1);
    s_.text(9, "$HANDSEED");
    s_.text(5, "FFFFFFF");
    endsec();
}

void frame::classes(const std::vector<classdef>& list) {
    section("CLASSES");
    for (const classdef& c : list) {
        s_.text(0, "CLASS");
        s_.text(1, c.record);
        s_.text(2, c.cppname);
        s_.text(3, "ostra gendxf");
        s_.integer(90, 0);
        if (countsinstances(version_)) s_.integer(91, 0);
        s_.integer(280, 0);
        s_.integer(281, c.entity ? 1 : 0);
    }
    endsec();
}

void frame::table(const char* name, handle h, int count, const char* subclass) {
    s_.text(0, "TABLE");
    s_.text(2, name);
    s_.handle(5, h);
    s_.handle(330, 0);
    s_.text(100, "AcDbSymbolTable");
    s_.integer(70, count);
    if (subclass) s_.text(100, subclass);
}

void frame::linetypes() {
    struct pattern {
        const char* name;
        const char* description;
        std::vector<double> dashes;
    };
    const pattern all[] = {{"ByBlock", "", {}},
                           {"ByLayer", "", {}},
                           {"CONTINUOUS", "Solid line", {}},
                           {"DASHED", "Dashed __ __ __", {12.7, -6.35}},
                           {"CENTER", "Center ____ _ ____", {31.75, -6.35, 6.35, -6.35}},
                           {"DOT", "Dot . . . .", {0, -6.35}}};
    const handle fixed[] = {byblock, bylayer, continuous};
    table("LTYPE", linetypetable, 6);
    for (std::size_t i = 0; i < 6; ++i) {
        const pattern& p = all[i];
        s_.text(0, "LTYPE");
        s_.handle(5, i < 3 ? fixed[i] : fresh());
        s_.handle(330, linetypetable);
        s_.text(100, "AcDbSymbolTableRecord");
        s_.text(100, "AcDbLinetypeTableRecord");
        s_.text(2, p.name);
        s_.integer(70, 0);
        s_.text(3, p.description);
        s_.integer(72, 65);
        s_.integer(73, static_cast<long long>(p.dashes.size()));
        double total = 0;
        for (double d : p.dashes) total += d < 0 ? -d : d;
        s_.real(40, total);
        for (double d : p.dashes) {
            s_.real(49, d);
            s_.integer(74, 0);
        }
    }
    s_.text(0, "ENDTAB");
}

// STANDARD, a narrow oblique style and one of a fixed height.
void frame::styles() {
    table("STYLE", styletable, 3);
    const char* names[] = {"STANDARD", "NARROW", "FIXED"};
    const double fixedheight[] = {0, 0, 3.5}, width[] = {1, 0.75, 1}, oblique[] = {0, 15, 0};
    for (int i = 0; i < 3; ++i) {
        s_.text(0, "STYLE");
        s_.handle(5, i == 0 ? textstyle : fresh());
        s_.handle(330, styletable);
        s_.text(100, "AcDbSymbolTableRecord");
        s_.text(100, "AcDbTextStyleTableRecord");
        s_.text(2, names[i]);
        s_.integer(70, 0);
        s_.real(40, fixedheight[i]);
        s_.real(41, width[i]);
        s_.real(50, oblique[i]);
        s_.integer(71, 0);
        s_.real(42, 2.5);
        s_.text(3, i == 1 ? "simplex.shx" : "txt");
        s_.text(4, "");
    }
    s_.text(0, "ENDTAB");
}

void frame::tables(const std::vector<layerdef>& layerlist, const std::vector<std::string>& blocks) {
    section("TABLES");
    table("VPORT", viewports, 1);
    s_.text(0, "VPORT");
    s_.handle(5, activeviewport);
    s_.handle(330, viewports);
    s_.text(100, "AcDbSymbolTableRecord");
    s_.text(100, "AcDbViewportTableRecord");
    s_.text(2, "*Active");
    s_.integer(70, 0);
    s_.real(10, 0);
    s_.real(20, 0);
    s_.real(11, 1);
    s_.real(21, 1);
    s_.real(12, 0);
    s_.real(22, 0);
    s_.real(40, 10000);
    s_.real(41, 1.5);
    s_.text(0, "ENDTAB");
    linetypes();
    table("LAYER", layers, static_cast<int>(layerlist.size()));
    for (const layerdef& l : layerlist) {
        s_.text(0, "LAYER");
        s_.handle(5, fresh());
        s_.handle(330, layers);
        s_.text(100, "AcDbSymbolTableRecord");
        s_.text(100, "AcDbLayerTableRecord");
        s_.text(2, l.name.c_str());
        s_.integer(70, 0);
        s_.integer(62, l.color);
        s_.text(6, l.linetype);
        // A CAD program does not plot the layer of the dimensions' points.
        if (l.name == "Defpoints") s_.integer(290, 0);
        s_.integer(370, l.lineweight);
    }
    s_.text(0, "ENDTAB");
    styles();
    table("VIEW", views, 0);
    s_.text(0, "ENDTAB");
    table("UCS", ucss, 0);
    s_.text(0, "ENDTAB");
    table("APPID", appids, 1);
    s_.text(0, "APPID");
    s_.handle(5, acadapp);
    s_.handle(330, appids);
    s_.text(100, "AcDbSymbolTableRecord");
    s_.text(100, "AcDbRegAppTableRecord");
    s_.text(2, "ACAD");
    s_.integer(70, 0);
    s_.text(0, "ENDTAB");
    table("DIMSTYLE", dimstyles, 1, "AcDbDimStyleTable");
    s_.text(0, "DIMSTYLE");
    s_.handle(105, dimstyle);  // a dimension style's handle goes under 105
    s_.handle(330, dimstyles);
    s_.text(100, "AcDbSymbolTableRecord");
    s_.text(100, "AcDbDimStyleTableRecord");
    s_.text(2, "STANDARD");
    s_.integer(70, 0);
    s_.real(40, 20);    // overall scale: the sizes below in drawing units are 20 times as large
    s_.real(41, 2.5);   // arrow size
    s_.real(42, 0.625); // extension line offset
    s_.real(44, 1.25);  // extension beyond the dimension line
    s_.real(140, 2.5);  // text height
    s_.real(147, 0.625); // gap around the text
    s_.handle(340, textstyle);
    s_.text(0, "ENDTAB");
    table("BLOCK_RECORD", blockrecords, static_cast<int>(blocks.size()) + 2);
    const char* layouts[] = {"*Model_Space", "*Paper_Space"};
    for (int i = 0; i < 2; ++i) {
        s_.text(0, "BLOCK_RECORD");
        s_.handle(5, i == 0 ? modelspace : paperspace);
        s_.handle(330, blockrecords);
        s_.text(100, "AcDbSymbolTableRecord");
        s_.text(100, "AcDbBlockTableRecord");
        s_.text(2, layouts[i]);
    }
    records_.clear();
    for (const std::string& b : blocks) {
        records_.push_back(fresh());
        s_.text(0, "BLOCK_RECORD");
        s_.handle(5, records_.back());
        s_.handle(330, blockrecords);
        s_.text(100, "AcDbSymbolTableRecord");
        s_.text(100, "AcDbBlockTableRecord");
        s_.text(2, b.c_str());
    }
    s_.text(0, "ENDTAB");
    endsec();
}

void frame::blockbegin(const std::string& name, handle owner, double x, double y, bool anonymous) {
    s_.text(0, "BLOCK");
    s_.handle(5, fresh());
    s_.handle(330, owner);
    s_.text(100, "AcDbEntity");
    if (owner == paperspace) s_.integer(67, 1);
    s_.text(8, "0");
    s_.text(100, "AcDbBlockBegin");
    s_.text(2, name.c_str());
    s_.integer(70, anonymous ? 1 : 0);
    s_.real(10, x);
    s_.real(20, y);
    s_.real(30, 0);
    s_.text(3, name.c_str());
    s_.text(1, "");
}

void frame::blockend(handle owner) {
    s_.text(0, "ENDBLK");
    s_.handle(5, fresh());
    s_.handle(330, owner);
    s_.text(100, "AcDbEntity");
    if (owner == paperspace) s_.integer(67, 1);
    s_.text(8, "0");
    s_.text(100, "AcDbBlockEnd");
}

void frame::layoutblocks() {
    blockbegin("*Model_Space", modelspace, 0, 0, false);
    blockend(modelspace);
    blockbegin("*Paper_Space", paperspace, 0, 0, false);
    blockend(paperspace);
}

handle frame::head(const char* name, const char* layer, handle owner, const char* subclass, const props& p) {
    handle h = fresh();
    s_.text(0, name);
    s_.handle(5, h);
    s_.handle(330, owner);
    s_.text(100, "AcDbEntity");
    s_.text(8, layer);
    if (p.linetype) s_.text(6, p.linetype);
    if (p.color >= 0) s_.integer(62, p.color);
    if (p.lineweight != -99) s_.integer(370, p.lineweight);
    if (p.ltscale != 0) s_.real(48, p.ltscale);
    if (subclass) s_.text(100, subclass);
    return h;
}

void frame::objects(const std::vector<std::pair<const char*, handle>>& extra) {
    section("OBJECTS");
    s_.text(0, "DICTIONARY");
    s_.handle(5, rootdict);
    s_.handle(330, 0);
    s_.text(100, "AcDbDictionary");
    s_.integer(281, 1);
    s_.text(3, "ACAD_GROUP");
    s_.handle(350, groups);
    for (const auto& e : extra) {
        s_.text(3, e.first);
        s_.handle(350, e.second);
    }
    s_.text(0, "DICTIONARY");
    s_.handle(5, groups);
    s_.handle(330, rootdict);
    s_.text(100, "AcDbDictionary");
    s_.integer(281, 1);
}

}  // namespace dxfgen
