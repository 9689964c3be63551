#include "reader/layertable.h"

#include <cstring>

#include "support/namekey.h"

namespace ostra {

int layertable::use(const char* name) { return lookup(name, 1); }

int layertable::intern(const char* name) { return lookup(name, 0); }

// The index of a name, registered with count 0 when new; an existing
// entry's count grows by more.
int layertable::lookup(const char* name, int more) {
    if (last_ >= 0 && std::strcmp(entries_[static_cast<std::size_t>(last_)].name, name) == 0) {
        entries_[static_cast<std::size_t>(last_)].use += more;
        return last_;
    }
    const std::string_view key = namekey(name);
    const std::size_t length = key.size();
    auto found = index_.find(key);
    if (found != index_.end()) {
        last_ = found->second;
        entries_[static_cast<std::size_t>(last_)].use += more;
        return last_;
    }
    entries_.emplace_back();
    entry& e = entries_.back();
    std::memcpy(e.name, name, length);
    e.name[length] = '\0';
    e.use = 0;
    e.filterversion = 0;
    e.pass = false;
    last_ = count() - 1;
    index_.emplace(std::string_view(e.name, length), last_);
    return last_;
}

int layertable::find(const char* name) const {
    auto found = index_.find(namekey(name));
    return found == index_.end() ? -1 : found->second;
}

bool layertable::passes(int i) {
    if (filter_.empty()) return true;
    entry& e = entries_[static_cast<std::size_t>(i)];
    if (e.filterversion != filterversion_) {
        const char* name = map_ ? map_->map(e.name) : e.name;
        std::string probe = ",";
        probe += name;
        probe += ',';
        e.pass = filter_.find(probe) != std::string::npos;
        e.filterversion = filterversion_;
    }
    return e.pass;
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
    return e.name;
}

}  // namespace ostra
