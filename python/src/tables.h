// A drawing's geometry in columns, one table per kind, filled from a reader
// one geometry at a time. Every table has its geometry columns first, then
// the columns all kinds share (commoncolumns()).
#ifndef OSTRA_PYTHON_TABLES_H
#define OSTRA_PYTHON_TABLES_H

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include <brevo/geometry.h>
#include <ostra/reader.h>

#include "columns.h"

namespace ostrapy {

enum kind { segments, arcs, circles, ellipses, points, kindcount };
// "segments", "arcs", "circles", "ellipses", "points".
const char* kindname(int k);
// The columns of kind k, geometry first, then the shared ones.
std::vector<columnspec> kindcolumns(int k);

// The angle of an arc's start about its centre, in degrees in [0, 360),
// measured in the object coordinate system of its normal, as an ARC record
// gives it; and the start point back from that angle.
double startangle(const brevo::arc& a);
brevo::point startpoint(const brevo::point& center, const brevo::vector& normal, double radius, double angle);

class drawingtables {
public:
    drawingtables();

    // Adds g with what r says about it (layer, colour); false when memory
    // ran out (nothing of g is kept then).
    bool add(const brevo::geometry& g, ostra::reader& r);

    table& of(int k) { return tables_[k]; }
    std::size_t total() const;
    // The layer names, in the order of the indices in the layer columns.
    const std::vector<std::string>& layernames() const { return names_; }
    // Gives every layer index i of the tables the index order[i].
    void renumber(const std::vector<std::int32_t>& order);

private:
    std::int32_t layerindex(ostra::reader& r);
    void putcommon(table& t, int first, ostra::reader& r);
    bool samerecord(ostra::reader& r);

    std::vector<table> tables_;
    // What the reader said about the last geometry's record; the pieces
    // of a record share it (samerecord()).
    struct recordinfo {
        bool valid = false;
        long line = 0;
        const char* record = nullptr;
        std::int32_t layer = 0;
        std::uint32_t color = 0;
        int aci = 0;
    } last_;
    // Layer names come as pointers that live as long as the reader: the
    // last one and every one seen map to an index without a string compare.
    const char* lastlayer_ = nullptr;
    std::int32_t lastindex_ = -1;
    std::unordered_map<const char*, std::int32_t> byname_;
    std::vector<std::string> names_;
};

}  // namespace ostrapy

#endif
