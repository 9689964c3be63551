#include "reader/producers/hatchrecord.h"

#include <cmath>

#include <ostra/palette.h>

namespace ostra {

namespace {
// A count or flag as an int; 0 when it is out of range or not finite.
int intof(double v) { return v >= -2147483647.0 && v <= 2147483647.0 ? static_cast<int>(v) : 0; }
}  // namespace

void hatchrecord::start(bool mpolygon) {
    data_ = hatchdata();
    part_ = header;
    mpolygon_ = mpolygon;
    seventies_ = 0;
    fitcount_ = false;
    colour_ = -1;
}

void hatchrecord::group(int code, const grouptable& t) {
    if (part_ == header) return headergroup(code, t);
    double v = t.number(code);
    // A new path, or the tail, may follow any path.
    if (part_ != tail && part_ != seedpoints) {
        if (code == 92) {
            hatchloop l;
            l.flags = intof(v);
            l.polyline = (l.flags & 2) != 0;
            data_.loops.push_back(l);
            part_ = l.polyline ? polylinepath : edgepath;
            return;
        }
        if (code == 75) part_ = tail;
    }
    switch (part_) {
    case polylinepath:
    case edgepath:
        return pathgroup(code, v);
    case tail:
    case seedpoints:
        return tailgroup(code, v);
    default:
        return;
    }
}

void hatchrecord::headergroup(int code, const grouptable& t) {
    switch (code) {
    case 2: data_.pattern = t.get(2); break;
    case 30: data_.elevation = t.number(30); break;
    case 70:
        // An MPOLYGON's first 70 is its version, its second the fill.
        if (!mpolygon_ || ++seventies_ == 2) data_.solid = t.number(70) != 0;
        break;
    case 91: part_ = looptail; break;
    default: break;
    }
}

void hatchrecord::pathgroup(int code, double v) {
    hatchloop& l = data_.loops.back();
    if (part_ == edgepath) return edgegroup(code, v);
    switch (code) {
    case 10:
        l.vertices.push_back(point2{v, 0});
        l.bulges.push_back(0);
        break;
    case 20: if (!l.vertices.empty()) l.vertices.back().y = v; break;
    case 42: if (!l.bulges.empty()) l.bulges.back() = v; break;
    case 97: part_ = looptail; break;
    default: break;
    }
}

void hatchrecord::edgegroup(int code, double v) {
    hatchloop& l = data_.loops.back();
    if (code == 72) {
        hatchedge e;
        e.kind = intof(v);
        if (e.kind == edgespline) {
            e.spline = static_cast<int>(l.splines.size());
            l.splines.emplace_back();
            l.splines.back().degree = 3;
        }
        l.edges.push_back(e);
        fitcount_ = false;
        return;
    }
    if (l.edges.empty()) return;
    hatchedge& e = l.edges.back();
    if (code == 97 && (e.kind != edgespline || fitcount_)) {
        part_ = looptail;
        return;
    }
    switch (e.kind) {
    case edgeline:
        if (code == 10) e.start.x = v;
        else if (code == 20) e.start.y = v;
        else if (code == 11) e.end.x = v;
        else if (code == 21) e.end.y = v;
        break;
    case edgearc:
    case edgeellipse:
        if (code == 10) e.centre.x = v;
        else if (code == 20) e.centre.y = v;
        else if (code == 11) e.majoraxis.x = v;
        else if (code == 21) e.majoraxis.y = v;
        else if (code == 40) (e.kind == edgearc ? e.radius : e.ratio) = v;
        else if (code == 50) e.startangle = v;
        else if (code == 51) e.endangle = v;
        else if (code == 73) e.ccw = v != 0;
        break;
    case edgespline:
        splinegroup(e, code, v);
        break;
    default:
        break;
    }
}

void hatchrecord::splinegroup(hatchedge& e, int code, double v) {
    splinedata& s = data_.loops.back().splines[static_cast<std::size_t>(e.spline)];
    switch (code) {
    case 94: s.degree = v >= 0 && v <= 1000 ? static_cast<int>(v) : 3; break;
    case 74: s.periodic = v != 0; break;
    case 40: s.knots.push_back(v); break;
    case 10: s.control.push_back(brevo::point(v, 0, 0)); break;
    case 20: if (!s.control.empty()) s.control.back().y = v; break;
    case 42: s.weights.push_back(v); break;
    case 97: fitcount_ = true; break;
    case 11: s.fit.push_back(brevo::point(v, 0, 0)); break;
    case 21: if (!s.fit.empty()) s.fit.back().y = v; break;
    case 12: s.hasstarttangent = true; s.starttangent.x = v; break;
    case 22: s.hasstarttangent = true; s.starttangent.y = v; break;
    case 13: s.hasendtangent = true; s.endtangent.x = v; break;
    case 23: s.hasendtangent = true; s.endtangent.y = v; break;
    default: break;
    }
}

void hatchrecord::tailgroup(int code, double v) {
    std::vector<patternfamily>& f = data_.families;
    switch (code) {
    case 75: data_.style = intof(v); break;
    case 53: f.emplace_back(); f.back().angle = v; break;
    case 43: if (!f.empty()) f.back().base.x = v; break;
    case 44: if (!f.empty()) f.back().base.y = v; break;
    case 45: if (!f.empty()) f.back().offset.x = v; break;
    case 46: if (!f.empty()) f.back().offset.y = v; break;
    case 49: if (!f.empty()) f.back().dashes.push_back(v); break;
    case 98: part_ = seedpoints; break;
    case 10: if (part_ == seedpoints) data_.seeds.push_back(point2{v, 0}); break;
    case 20: if (part_ == seedpoints && !data_.seeds.empty()) data_.seeds.back().y = v; break;
    default: colourgroup(code, v); break;
    }
}

// The gradient: 450 says whether there is one; each colour begins with a
// 463 and is given by 63 (an index) and 421 (a true colour, which wins).
void hatchrecord::colourgroup(int code, double v) {
    switch (code) {
    case 450:
        data_.gradient = v != 0;
        if (data_.gradient) data_.solid = true;
        break;
    case 463: ++colour_; break;
    case 63:
        if (colour_ >= 0 && colour_ < 2 && data_.colours[colour_] < 0) data_.colours[colour_] = palettecolor(intof(v));
        break;
    case 421:
        if (colour_ >= 0 && colour_ < 2) data_.colours[colour_] = intof(v) & 0xFFFFFF;
        break;
    default: break;
    }
}

}  // namespace ostra
