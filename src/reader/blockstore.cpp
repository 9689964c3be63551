#include "reader/blockstore.h"

#include <cstring>
#include <memory>

namespace ostra {

namespace {
// A name as a key: its first 79 chars, as a stored name keeps them.
std::string_view keyof(const char* name) {
    std::size_t n = 0;
    while (n < blockstore::keywidth - 1 && name[n]) ++n;
    return std::string_view(name, n);
}
}  // namespace

blockstore::~blockstore() {
    for (block* b : owned_) delete b;
    delete table_;
}

block* blockstore::define(const char* name, const brevo::point& base) {
    if (!table_) table_ = new chunkmap(sizeof(block*), 64, keywidth);
    std::unique_ptr<block> made(new block);
    owned_.push_back(made.get());
    block* b = made.release();
    b->base = base;
    b->store = this;
    void* v = table_->insert(&b, name);
    if (!v) return b;  // not registered: collected, but no insert finds it
    // The key precedes the value in the stored record.
    b->name = static_cast<const char*>(v) - keywidth;
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
    return static_cast<const storedinsert*>(inserts_.append(&s));
}

bool blockstore::append(block* b, const blockrecord& r) {
    if (++generation_ == 0) generation_ = 1;
    return b->entities.append(&r) != nullptr;
}

// The children and own geometry of every block from its records, then the
// reach by relaxation: a block's reach is one more than its nearest child's,
// until nothing changes (at most maxdepth + 1 rounds, as reach is capped).
void blockstore::analyse() {
    if (analysed_ == generation_) return;
    const int unreachable = expansion::maxdepth + 1;
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

void expansion::start(block* b, const insertparams& p) {
    stop();
    if (b && b->store) b->store->analyse();
    push(b, p, brevo::trafo(false));
}

void expansion::stop() {
    while (depth_ > 0) pop();
}

bool expansion::push(block* b, const insertparams& p, const brevo::trafo& parent) {
    if (!b || depth_ >= maxdepth || b->entities.count() == 0) return false;
    if (b->onstack) return false;  // a block inserting itself: cut
    if (!yields(b)) return false;
    frame& f = stack_[depth_++];
    f.b = b;
    f.parent = parent;
    f.p = p;
    f.col = f.row = 0;
    f.id = ++frames_;
    placecell(f);
    b->onstack = true;
    b->entities.rewind(0);
    return true;
}

void expansion::pop() {
    stack_[--depth_].b->onstack = false;
}

// Pushed at index depth_, b has room for maxdepth - depth_ frames, its own
// included. The expansion below it delivers an entity exactly when some chain
// of inserts from b to a block with a geometry record fits in that room and
// meets no block on the stack (those inserts are cut). The cell, the
// transformation and the records already delivered do not matter, so the
// answer holds for every cell of b's frame.
//
// The analysis settles most pushes: a reach beyond the room means no chain
// fits; a shortest chain (the via links) clear of the stack means one does,
// which is always so when no insert chain loops. Otherwise a search decides,
// remembered per asking frame, whose stack stays the same while it lives.
bool expansion::yields(block* b) {
    int room = maxdepth - depth_;
    const block::analysis& a = b->info;
    if (b->store && a.generation == b->store->generation()) {
        if (a.reach > room) return false;
        bool clear = true;
        for (const block* v = a.via; v; v = v->info.via)
            if (v->onstack) {
                clear = false;
                break;
            }
        if (clear) return true;
    }
    unsigned long long asker = depth_ > 0 ? stack_[depth_ - 1].id : 0;
    if (asker && b->askedby == asker) return b->answer;
    bool found = search(b, room);
    b->askedby = asker;
    b->answer = found;
    return found;
}

// Breadth first from b through the blocks its records insert, leaving out
// blocks on the stack, for at most room levels (b is level 1); true when a
// block with a geometry record is met. The blocks searched are not on the
// stack, so their cursors are free to use.
bool expansion::search(block* b, int room) {
    ++searches_;
    queue_.clear();
    queue_.push_back(b);
    b->seen = searches_;
    std::size_t head = 0;
    for (int level = 1; level <= room && head < queue_.size(); ++level) {
        std::size_t end = queue_.size();
        for (; head < end; ++head) {
            block* v = queue_[head];
            for (auto* r = static_cast<const blockrecord*>(v->entities.first()); r;
                 r = static_cast<const blockrecord*>(v->entities.next())) {
                if (r->kind == blockrecord::geometryrecord) return true;
                block* t = *r->ins->target;
                if (t && t->entities.count() > 0 && !t->onstack && t->seen != searches_) {
                    t->seen = searches_;
                    queue_.push_back(t);
                }
            }
        }
    }
    return false;
}

// The first column and the first row need no spacing: theirs is not taken,
// so a spacing that is not finite reaches only the cells beyond them.
void expansion::placecell(frame& f) {
    brevo::trafo cell;
    cell.offset(f.col != 0 ? f.col * f.p.colspacing : 0, f.row != 0 ? f.row * f.p.rowspacing : 0, 0);
    brevo::trafo s;
    s.scale(f.p.sx, f.p.sy, f.p.sz);
    brevo::trafo base;
    base.offset(-f.b->base.x, -f.b->base.y, -f.b->base.z);
    f.cur = f.parent * f.p.place * cell * s * base;
}

bool expansion::next(brevo::geometry& out, int& layer, const char*& blockname) {
    while (depth_ > 0) {
        frame& f = stack_[depth_ - 1];
        auto* r = static_cast<const blockrecord*>(f.b->entities.next());
        if (!r) {
            // The cell is done: the next cell, or the frame is done.
            if (++f.col >= f.p.cols) {
                f.col = 0;
                ++f.row;
            }
            if (f.row >= f.p.rows) {
                pop();
                continue;
            }
            placecell(f);
            f.b->entities.rewind(0);
            continue;
        }
        if (r->kind == blockrecord::geometryrecord) {
            out = r->g * f.cur;
            layer = r->layer;
            blockname = f.b->name;
            return true;
        }
        push(*r->ins->target, r->ins->params, f.cur);
    }
    return false;
}

}  // namespace ostra
