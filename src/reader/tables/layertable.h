// The layer table and the layer filter.
#ifndef OSTRA_READER_LAYERTABLE_H
#define OSTRA_READER_LAYERTABLE_H

#include <deque>
#include <string>
#include <string_view>
#include <unordered_map>

#include "support/namekey.h"

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
    // Names compare through keys (the exact reading: whole names, without
    // regard to case, the first spelling met kept), or by their first 79
    // chars as they stand (null, the default). Set before the first use.
    void setkeys(namekeys* keys) {
        keys_ = keys;
        ++filterversion_;
    }

    // Registers the layer at its first use (count 0) or counts a later use,
    // and returns its index. Names are kept as given (at most 79 chars, or
    // 255 with keys).
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
    // passes when ",name," is a substring of ",names,"; with keys, when
    // ",key," is a substring of the list of the names' keys.
    void setfilter(const char* names);
    // The filter matches the names as map gives them; null for as read.
    void setnamemap(namemap* map) {
        map_ = map;
        ++filterversion_;
    }

    // Changes whenever the filter or the way it matches names does.
    unsigned filterversion() const { return filterversion_; }

    int count() const { return static_cast<int>(entries_.size()); }
    const char* name(int i) const { return entries_[static_cast<std::size_t>(i)].name.c_str(); }

    // Enumeration with a position of its own; count is left alone at the end.
    const char* first(int* count);
    const char* next(int* count);

private:
    int lookup(const char* name, int more);
    int add(std::string_view name, std::string_view key);
    bool keyedpass(std::string_view key);

    struct entry {
        std::string name;
        std::string_view key;    // with keys: the name's key, kept by keys
        int use;
        unsigned filterversion;  // filter version for which pass is known
        bool pass;
    };
    std::deque<entry> entries_;  // stable addresses: names are handed out
    // By the spellings met (without keys: the first 79 chars of the name),
    // and with keys by key.
    std::unordered_map<std::string_view, int> index_;
    std::unordered_map<std::string_view, int> keyindex_;
    int last_ = -1;              // the layer used last, tried first
    std::string filter_;         // ",names," or empty
    std::string keyfilter_;      // ",keys of the names," for filterversion keyfilterversion_
    unsigned keyfilterversion_ = 0;
    namekeys* keys_ = nullptr;
    namemap* map_ = nullptr;
    unsigned filterversion_ = 1;
    int iter_ = 0;
};

}  // namespace ostra

#endif
