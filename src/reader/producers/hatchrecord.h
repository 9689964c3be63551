// The groups of a HATCH or MPOLYGON record as they come, gathered into its
// boundary paths (support/hatchloop.h), pattern lines, fill and seed points.
//
// The record's groups repeat (a vertex's 10/20 in every path, a spline's
// 40 and 10/20 in every edge), so a group's meaning comes from where it
// stands: the header before 91, then each path from its 92 on (a polyline
// path or an edge path, by 92 bit 2; each edge from its 72 on), and the
// tail from the style 75 on (pattern lines from each 53, seed points after
// 98, the gradient's 450 and up). A spline edge's first 97 counts its fit
// points; a second one, or a 97 after any other edge, begins the path's
// source references. Groups where they have no meaning are ignored, so the
// data of a bad record is what its groups say and nothing else.
//
// Memory grows with the groups read, never with a count a group gives.
#ifndef OSTRA_READER_HATCHRECORD_H
#define OSTRA_READER_HATCHRECORD_H

#include <string>
#include <vector>

#include "reader/records/grouptable.h"
#include "support/hatchloop.h"
#include "support/hatchpattern.h"

namespace ostra {

struct hatchdata {
    std::vector<hatchloop> loops;
    std::vector<patternfamily> families;
    std::vector<point2> seeds;
    std::string pattern;    // 2
    double elevation = 0;   // the header's 30
    bool solid = false;     // 70 (MPOLYGON: its second 70), or a gradient
    int style = 0;          // 75
    bool gradient = false;  // 450 nonzero
    int colours[2] = {-1, -1};  // the gradient's colours, 0xRRGGBB (421, else 63)
};

class hatchrecord {
public:
    // A record begins; an MPOLYGON's first 70 is its version.
    void start(bool mpolygon);
    // A group of it, after its value is stored in t.
    void group(int code, const grouptable& t);
    hatchdata& data() { return data_; }

private:
    enum part { header, polylinepath, edgepath, looptail, tail, seedpoints };
    void headergroup(int code, const grouptable& t);
    void pathgroup(int code, double v);
    void edgegroup(int code, double v);
    void splinegroup(hatchedge& e, int code, double v);
    void tailgroup(int code, double v);
    void colourgroup(int code, double v);

    hatchdata data_;
    part part_ = header;
    bool mpolygon_ = false;
    int seventies_ = 0;     // 70 groups of the header so far
    bool fitcount_ = false; // the current spline edge had its 97
    int colour_ = -1;       // the gradient colour being read
};

}  // namespace ostra

#endif
