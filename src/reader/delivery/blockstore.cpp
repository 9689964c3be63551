#include "reader/delivery/blockstore.h"

#include <new>

#include <cstring>
#include <memory>

#include "support/namekey.h"

namespace ostra {

blockstore::~blockstore() {
    for (block* b : owned_) delete b;
    delete table_;
}

block* blockstore::define(const char* name, const brevo::point& base) {
    if (!table_) {
        tablewidth_ = keys_ ? widekeywidth : keywidth;
        table_ = new chunkmap(sizeof(block*), 64, tablewidth_);
    }
    std::unique_ptr<block> made(new block);
    owned_.push_back(made.get());
    block* b = made.release();
    b->base = base;
    b->store = this;
    void* v = table_->insert(&b, name);
    if (!v) return nullptr;  // the block is owned all the same, and freed with the store
    // The key precedes the value in the stored record.
    b->name = static_cast<const char*>(v) - tablewidth_;
    auto slot = index_.try_emplace(keyof(b->name), b).first;
    if (!slot->second) slot->second = b;  // a name inserted before its block
    return b;
}

block* blockstore::find(const char* name) const {
    auto it = index_.find(keyof(name));
    return it == index_.end() ? nullptr : it->second;
}

block* const* blockstore::reference(const char* name) {
    std::string_view key = keyof(name);
    auto it = index_.find(key);
    if (it != index_.end()) return &it->second;
    // The keys made with keys live as long as they do.
    if (keys_) return &index_.emplace(key, nullptr).first->second;
    char copy[keywidth] = {};
    std::memcpy(copy, key.data(), key.size());
    const char* stored = static_cast<const char*>(names_.append(copy));
    if (!stored) return nullptr;
    return &index_.emplace(std::string_view(stored, key.size()), nullptr).first->second;
}

const storedinsert* blockstore::storeinsert(const insertparams& p, const char* name) {
    block* const* target = reference(name);
    if (!target) return nullptr;  // no room for the name: the insert is dropped
    storedinsert s{p, target};
    s.params.layer = layers_.emplace(p.layer).first->c_str();
    return static_cast<const storedinsert*>(inserts_.append(&s));
}

bool blockstore::append(block* b, const blockrecord& r) {
    if (++generation_ == 0) generation_ = 1;
    return b->entities.append(&r) != nullptr;
}

// The children and own geometry of every block from its records, then the
// reach by relaxation: a block's reach is one more than its nearest child's,
// until nothing changes (at most maxnesting + 1 rounds, as reach is capped).
void blockstore::analyse() {
    if (analysed_ == generation_) return;
    const int unreachable = maxnesting + 1;
    for (block* b : owned_) {
        block::analysis& a = b->info;
        a.children.clear();
        a.geometry = false;
        for (auto* r = static_cast<const blockrecord*>(b->entities.first()); r;
             r = static_cast<const blockrecord*>(b->entities.next())) {
            if (r->kind == blockrecord::geometryrecord) {
                a.geometry = true;
                continue;
            }
            block* t = *r->ins->target;
            if (t && t->entities.count() > 0) a.children.push_back(t);
        }
        a.reach = a.geometry ? 1 : unreachable;
        a.via = nullptr;
        a.generation = generation_;
    }
    for (bool changed = true; changed;) {
        changed = false;
        for (block* b : owned_) {
            block::analysis& a = b->info;
            for (block* c : a.children) {
                if (c->info.reach + 1 < a.reach) {
                    a.reach = c->info.reach + 1;
                    a.via = c;
                    changed = true;
                }
            }
        }
    }
    analysed_ = generation_;
}

const char* blockstore::entry(void* value, const char* key, int* n) {
    if (!value) return nullptr;
    block* b;
    std::memcpy(&b, value, sizeof b);
    if (n) *n = b->entities.count();
    return key;
}

const char* blockstore::first(int* n) {
    if (!table_) return nullptr;
    const char* key;
    void* v = table_->first(key);
    return entry(v, key, n);
}

const char* blockstore::next(int* n) {
    if (!table_) return nullptr;
    const char* key;
    void* v = table_->next(key);
    return entry(v, key, n);
}

const textinfo* blockstore::storetext(const textinfo& t) {
    texts_.emplace_back();
    storedtext& k = texts_.back();
    k.content = t.content;
    k.raw = t.raw;
    k.tag = t.tag;
    k.style = t.style;
    k.info = t;
    k.info.content = k.content.c_str();
    k.info.raw = k.raw.c_str();
    k.info.tag = k.tag.c_str();
    k.info.style = k.style.c_str();
    return &k.info;
}

const char* blockstore::keepname(const char* name) {
    if (!name) return nullptr;
    try {
        return linetypes_.emplace(name).first->c_str();
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

}  // namespace ostra
