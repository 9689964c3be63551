// MULTILEADER records, read when the host asks for texts: the groups of the
// record's context data collected as they come (its text content 304, text
// location 12, direction 13, height 41, width 43, line spacing 45 and
// attachment 171; each leader's connection point 10, dogleg vector 11 and
// length 40; each leader line's vertices 10), then handed to the text
// producer, which delivers the leader lines and landings as segments and the
// text as any MTEXT. Arrowheads and block content are not drawn.
#ifndef OSTRA_READER_MLEADER_H
#define OSTRA_READER_MLEADER_H

#include <string>
#include <vector>

#include <brevo/geometry.h>

#include "reader/records/grouptable.h"

namespace ostra {

// What a MULTILEADER shows, in world coordinates.
struct leaderdata {
    std::string text;  // the MTEXT content; empty for none
    bool hastext = false;
    brevo::point location;
    brevo::vector direction{1, 0, 0};
    double height = 0, width = 0, spacing = 1;
    int attachment = 1;
    std::vector<brevo::lineseg> lines;  // leader lines and landings
};

class mleaderproducer {
public:
    // The most segments one MULTILEADER gives; more vertices are dropped.
    static constexpr std::size_t maxsegments = 4096;

    void start();
    void group(int code, const grouptable& t);
    // The record's end: what it shows.
    leaderdata& finish();

private:
    enum section { outside, context, leader, leaderline, after };
    void endpoint();
    void endleader();
    void arrow(const brevo::point& tip, const brevo::point& towards);

    leaderdata d_;
    section at_ = outside;
    // The point being read (10, 20, 30) and its code; the leader's
    // connection point and dogleg; the leader line's last vertex.
    double x_ = 0, y_ = 0, z_ = 0;
    bool pending_ = false;
    brevo::point connection_;
    bool hasconnection_ = false;
    brevo::vector dogleg_;
    double doglength_ = 0;
    brevo::point last_;
    bool haslast_ = false;
    std::vector<brevo::point> lineends_;  // the last vertex of each leader line of the leader
    // Each leader line's first vertex and the point after it (none yet).
    struct linestart {
        brevo::point first, second;
        bool hassecond;
    };
    std::vector<linestart> starts_;
    brevo::point first_;
    int vertices_ = 0;  // of the leader line being read, counted up to 2
    double arrowsize_ = 0;
};

}  // namespace ostra

#endif
