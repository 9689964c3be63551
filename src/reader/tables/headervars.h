// The header variables of a drawing's HEADER section: the first value text
// of each group a variable carries, kept for the reader's life. The memory
// is bounded by the variables themselves: each value holds at most 79 chars.
#ifndef OSTRA_READER_HEADERVARS_H
#define OSTRA_READER_HEADERVARS_H

#include <deque>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "reader/records/grouptable.h"

namespace ostra {

class headervars {
public:
    // The end of the record of variable name (a group 9 and the groups after
    // it): keeps the groups it carried, by code, unless the variable was met
    // before (the first one counts).
    void record(const char* name, const grouptable& t);

    // The text of the variable's first group (lowest code), or of its group
    // code when code is not negative; null when there is none.
    const char* value(const char* name, int code = -1) const;

private:
    struct variable {
        std::string name;
        std::vector<std::pair<int, std::string>> groups;  // by code
    };
    std::deque<variable> vars_;
    std::unordered_map<std::string_view, std::size_t> index_;
};

}  // namespace ostra

#endif
