#include "reader/blockstore.h"

#include <cstring>
#include <memory>

namespace ostra {

namespace {
// Block names are group values: at most 79 chars, so a key of 80 holds them.
const int keywidth = 80;
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
    void* v = table_->insert(&b, name);
    if (!v) return b;  // not registered: collected, but no insert finds it
    // The key precedes the value in the stored record.
    b->name = static_cast<const char*>(v) - keywidth;
    block*& slot = index_[std::string(b->name)];
    if (!slot) slot = b;
    return b;
}

block* blockstore::find(const char* name) const {
    auto it = index_.find(std::string(name));
    return it == index_.end() ? nullptr : it->second;
}

block* const* blockstore::reference(const char* name) { return &index_[std::string(name)]; }

const storedinsert* blockstore::storeinsert(const insertparams& p, const char* name) {
    storedinsert s{p, reference(name)};
    return static_cast<const storedinsert*>(inserts_.append(&s));
}

bool blockstore::append(block* b, const blockrecord& r) {
    return b->entities.append(&r) != nullptr;
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
    depth_ = 0;
    push(b, p, brevo::trafo(false));
}

bool expansion::push(block* b, const insertparams& p, const brevo::trafo& parent) {
    if (!b || depth_ >= maxdepth || b->entities.count() == 0) return false;
    for (int i = 0; i < depth_; ++i)
        if (stack_[i].b == b) return false;  // a block inserting itself: cut
    frame& f = stack_[depth_++];
    f.b = b;
    f.parent = parent;
    f.p = p;
    f.col = f.row = 0;
    placecell(f);
    b->entities.rewind(0);
    return true;
}

void expansion::placecell(frame& f) {
    brevo::trafo cell;
    cell.offset(f.col * f.p.colspacing, f.row * f.p.rowspacing, 0);
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
                --depth_;
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
