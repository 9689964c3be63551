#include "reader/tables/layertable.h"

#include <cstring>

namespace ostra {

int layertable::use(const char* name) { return lookup(name, 1); }

int layertable::intern(const char* name) { return lookup(name, 0); }

// The index of a name, registered with count 0 when new; an existing
// entry's count grows by more. With keys, a spelling not met before is
// looked up by its key, and becomes another spelling of the layer it names.
int layertable::lookup(const char* name, int more) {
    if (last_ >= 0 && std::strcmp(entries_[static_cast<std::size_t>(last_)].name.c_str(), name) == 0) {
        entries_[static_cast<std::size_t>(last_)].use += more;
        return last_;
    }
    auto found = index_.find(keys_ ? std::string_view(name) : namekey(name));
    if (found == index_.end() && keys_) {
        const namekeys::keyed k = keys_->drawingkey(name);
        auto same = keyindex_.find(k.key);
        if (same == keyindex_.end()) {
            last_ = add(k.spelling, k.key);
            return last_;
        }
        found = index_.emplace(k.spelling, same->second).first;
    }
    if (found == index_.end()) {
        last_ = add(namekey(name), std::string_view());
        return last_;
    }
    last_ = found->second;
    entries_[static_cast<std::size_t>(last_)].use += more;
    return last_;
}

// A new entry, counted 0: under its stored name, and under key with keys.
int layertable::add(std::string_view name, std::string_view key) {
    entries_.emplace_back();
    entry& e = entries_.back();
    const int i = count() - 1;
    try {
        e.name.assign(name);
        e.key = key;
        e.use = 0;
        e.filterversion = 0;
        e.pass = false;
        index_.emplace(std::string_view(e.name), i);
        if (keys_) keyindex_.emplace(key, i);
    } catch (...) {
        index_.erase(std::string_view(e.name));
        entries_.pop_back();
        throw;
    }
    return i;
}

int layertable::find(const char* name) const {
    auto found = index_.find(keys_ ? std::string_view(name) : namekey(name));
    if (found != index_.end()) return found->second;
    if (!keys_) return -1;
    auto same = keyindex_.find(keys_->drawingkey(name).key);
    return same == keyindex_.end() ? -1 : same->second;
}

bool layertable::passes(int i) {
    if (filter_.empty()) return true;
    entry& e = entries_[static_cast<std::size_t>(i)];
    if (e.filterversion != filterversion_) {
        if (keys_) {
            e.pass = keyedpass(e.key);
        } else {
            const char* name = map_ ? map_->map(e.name.c_str()) : e.name.c_str();
            std::string probe = ",";
            probe += name;
            probe += ',';
            e.pass = filter_.find(probe) != std::string::npos;
        }
        e.filterversion = filterversion_;
    }
    return e.pass;
}

// The filter's names become keys when the filter is first applied after a
// change (the drawing's encoding is known by then), each list item on its
// own.
bool layertable::keyedpass(std::string_view key) {
    if (keyfilterversion_ != filterversion_) {
        keyfilter_ = ",";
        std::size_t from = 1;
        for (std::size_t comma; (comma = filter_.find(',', from)) != std::string::npos; from = comma + 1) {
            keyfilter_ += keys_->hostkey(filter_.substr(from, comma - from).c_str());
            keyfilter_ += ',';
        }
        keyfilterversion_ = filterversion_;
    }
    std::string probe = ",";
    probe += key;
    probe += ',';
    return keyfilter_.find(probe) != std::string::npos;
}

void layertable::setfilter(const char* names) {
    ++filterversion_;
    if (!names || !*names) {
        filter_.clear();
        return;
    }
    filter_ = ",";
    filter_ += names;
    filter_ += ",";
}

const char* layertable::first(int* count) {
    iter_ = 0;
    return next(count);
}

const char* layertable::next(int* count) {
    if (iter_ >= this->count()) return nullptr;
    const entry& e = entries_[static_cast<std::size_t>(iter_++)];
    if (count) *count = e.use;
    return e.name.c_str();
}

}  // namespace ostra
