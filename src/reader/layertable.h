// The layer table and the layer filter.
#ifndef OSTRA_READER_LAYERTABLE_H
#define OSTRA_READER_LAYERTABLE_H

#include <deque>
#include <string>
#include <string_view>
#include <unordered_map>

namespace ostra {

class layertable {
public:
    // Registers the layer at its first use (count 0) or counts a later use,
    // and returns its index. Names are kept as given (at most 79 chars).
    int use(const char* name);
    // Counts one more use of the layer at index i, which use() returned.
    void useagain(int i) { ++entries_[static_cast<std::size_t>(i)].use; }
    // Whether the layer at index i passes the filter.
    bool passes(int i);

    // names: comma-separated list; null or "" removes the filter. A layer
    // passes when ",name," is a substring of ",names,".
    void setfilter(const char* names);

    int count() const { return static_cast<int>(entries_.size()); }
    const char* name(int i) const { return entries_[static_cast<std::size_t>(i)].name; }

    // Enumeration with a position of its own; count is left alone at the end.
    const char* first(int* count);
    const char* next(int* count);

private:
    struct entry {
        char name[80];
        int use;
        unsigned filterversion;  // filter version for which pass is known
        bool pass;
    };
    std::deque<entry> entries_;  // stable addresses: names are handed out
    std::unordered_map<std::string_view, int> index_;
    int last_ = -1;              // the layer used last, tried first
    std::string filter_;         // ",names," or empty
    unsigned filterversion_ = 1;
    int iter_ = 0;
};

}  // namespace ostra

#endif
