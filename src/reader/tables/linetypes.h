// The LTYPE table: each linetype's pattern, the dash lengths of its 49
// groups in order (a dash positive, a gap negative, a dot 0), in drawing
// units before any scale. Names compare without regard to ASCII case, as a
// CAD program compares them; the first entry of a name counts. A pattern
// keeps at most maxdashes lengths (a CAD program allows 12).
#ifndef OSTRA_READER_LINETYPES_H
#define OSTRA_READER_LINETYPES_H

#include <string>
#include <unordered_map>
#include <vector>

#include "reader/records/grouptable.h"

namespace ostra {

class linetypes {
public:
    static constexpr std::size_t maxdashes = 64;

    // An LTYPE entry begins, and its groups come after their values are
    // stored; end() keeps it.
    void start();
    void group(int code, const grouptable& t);
    void end(const grouptable& t);
    // The pattern of a linetype; null for a name without an entry.
    const std::vector<double>* find(const char* name) const;

private:
    static std::string keyof(const char* name);
    std::vector<double> dashes_;
    std::unordered_map<std::string, std::vector<double>> table_;
};

}  // namespace ostra

#endif
