// The layer table and the layer filter.
#ifndef OSTRA_READER_LAYERTABLE_H
#define OSTRA_READER_LAYERTABLE_H

#include <deque>
#include <string>
#include <string_view>
#include <unordered_map>

namespace ostra {

// Another form of the names for the filter to match, when the host asks
// for one (names in UTF-8).
class namemap {
public:
    // The other form of raw, a text that lives as long as raw does.
    virtual const char* map(const char* raw) = 0;

protected:
    ~namemap() = default;
};

class layertable {
public:
    // Registers the layer at its first use (count 0) or counts a later use,
    // and returns its index. Names are kept as given (at most 79 chars).
    int use(const char* name);
    // The same without counting a use: a layer met only to be referred to.
    int intern(const char* name);
    // The index of a layer met, or -1.
    int find(const char* name) const;
    // Counts one more use of the layer at index i, which use() returned.
    void useagain(int i) { ++entries_[static_cast<std::size_t>(i)].use; }
    // Whether the layer at index i passes the filter.
    bool passes(int i);

    // names: comma-separated list; null or "" removes the filter. A layer
    // passes when ",name," is a substring of ",names,".
    void setfilter(const char* names);
    // The filter matches the names as map gives them; null for as read.
    void setnamemap(namemap* map) {
        map_ = map;
        ++filterversion_;
    }

    // Changes whenever the filter or the way it matches names does.
    unsigned filterversion() const { return filterversion_; }

    int count() const { return static_cast<int>(entries_.size()); }
    const char* name(int i) const { return entries_[static_cast<std::size_t>(i)].name; }

    // Enumeration with a position of its own; count is left alone at the end.
    const char* first(int* count);
    const char* next(int* count);

private:
    int lookup(const char* name, int more);

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
    namemap* map_ = nullptr;
    unsigned filterversion_ = 1;
    int iter_ = 0;
};

}  // namespace ostra

#endif
