// What the reports say about a drawing beside its geometry: the names of
// its format version and units, and what reading passed over.
#ifndef OSTRA_TOOL_REPORT_H
#define OSTRA_TOOL_REPORT_H

#include <string>
#include <utility>
#include <vector>

#include <ostra/reader.h>

namespace tool {

// The release a $ACADVER value stands for ("AC1015": "R2000"), or "".
std::string versionname(const std::string& acadver);
// The unit a $INSUNITS value stands for ("4": "millimeters"), or "".
std::string unitname(const std::string& insunits);

// What the reader passed over: records by name, and hidden content by
// reason (without the reader's leading "*").
struct skippedcounts {
    std::vector<std::pair<std::string, int>> records, hidden;
    bool empty() const { return records.empty() && hidden.empty(); }
};
skippedcounts skipped(ostra::reader& r);

// "12 TEXT, 3 HATCH"
std::string listcounts(const std::vector<std::pair<std::string, int>>& counts);

}  // namespace tool

#endif
