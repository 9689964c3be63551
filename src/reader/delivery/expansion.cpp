#include "reader/delivery/expansion.h"

#include "reader/delivery/textplacement.h"

namespace ostra {

bool expansion::start(block* b, const insertparams& p, const expansionorigin& origin, deliveryrules* rules) {
    stop();
    rules_ = rules;
    origin_ = origin;
    lastframe_ = 0;
    if (b && b->store) b->store->analyse();
    return push(b, p, brevo::trafo(false), origin.layer);
}

void expansion::stop() {
    while (depth_ > 0) pop();
}

bool expansion::push(block* b, const insertparams& p, const brevo::trafo& parent, int layer) {
    if (!b || depth_ >= maxnesting || b->entities.count() == 0) return false;
    if (b->onstack) return false;  // a block inserting itself: cut
    if (!yields(b)) return false;
    if (rules_ && rules_->knowndead(b, layer, depth_)) return false;
    frame& f = stack_[depth_++];
    f.b = b;
    f.parent = parent;
    f.p = p;
    f.col = f.row = 0;
    f.id = ++frames_;
    f.colour = colourof(p.props, -1, depth_ > 1 ? &stack_[depth_ - 2].colour : nullptr);
    if (f.colour.aci == bylayer) f.colour.layername = f.p.layer;
    f.style = styleof(p.style, depth_ > 1 ? &stack_[depth_ - 2].style : nullptr);
    if (!p.style.linetype) f.style.layer = f.p.layer;
    if (p.style.lineweight == lwbylayer) f.style.weightlayer = f.p.layer;
    f.layer = layer;
    f.cellstart = delivered_;
    f.entity = 0;
    if (p.oneentity && oneentity_ < 0) oneentity_ = depth_ - 1;
    placecell(f);
    b->onstack = true;
    b->entities.rewind(0);
    return true;
}

void expansion::pop() {
    stack_[--depth_].b->onstack = false;
    if (oneentity_ == depth_) oneentity_ = -1;
}

// Pushed at index depth_, b has room for maxnesting - depth_ frames, its own
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
    int room = maxnesting - depth_;
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

// The cell of f is done: the next cell, or the frame is done (false). A
// cell that delivered nothing ends its frame, since every cell delivers
// the same entities; the exact reading remembers such a block.
bool expansion::endcell(frame& f) {
    if (delivered_ == f.cellstart) {
        if (rules_) rules_->markdead(f.b, f.layer, depth_ - 1);
        return false;
    }
    if (++f.col >= f.p.cols) {
        f.col = 0;
        ++f.row;
    }
    if (f.row >= f.p.rows) return false;
    placecell(f);
    f.cellstart = delivered_;
    // Every cell is a copy of its own.
    f.entity = 0;
    lastframe_ = 0;
    f.b->entities.rewind(0);
    return true;
}

// A geometry record of f's block: placed and put into the sink, unless the
// exact reading's rules leave it out; either way it counts as work. True
// when the sink holds it or reading stopped at the work limit.
bool expansion::deliver(const frame& f, const blockrecord& r, sink& s) {
    geometryinfo info;
    info.layer = r.layer;
    if (rules_) {
        info.layer = rules_->drawnon(r.layer, f.layer);
        if (!rules_->delivers(info.layer)) return !s.spend();
    }
    info.block = f.b->name;
    info.record = origin_.record ? origin_.record : r.record;
    info.props = &r.props;
    info.handle = origin_.handle;
    info.byblock = &f.colour;
    info.entity = entityof(f, r, s);
    info.closed = r.closed && !origin_.entity && oneentity_ < 0;
    if (r.text) info.text = placetext(*r.text, f.cur, placed_);
    info.fill = r.fill;
    info.style = &r.style;
    if (r.startwidth != 0 || r.endwidth != 0) {
        width_.start = r.startwidth;
        width_.end = r.endwidth;
        info.width = &width_;
    }
    info.outerstyle = &f.style;
    s.put(r.g * f.cur, info);
    ++delivered_;
    return true;
}

// The drawn entity a geometry of f's block belongs to: the origin's, the
// cell's of a frame that is one entity, or one of its own for every copy
// of a stored entity (its frame, cell and number in the block tell it).
unsigned long long expansion::entityof(const frame& f, const blockrecord& r, sink& s) {
    if (origin_.entity) return origin_.entity;
    if (oneentity_ >= 0) {
        frame& one = stack_[oneentity_];
        if (!one.entity) one.entity = s.newentity();
        return one.entity;
    }
    if (f.id != lastframe_ || r.entity != lastentity_) {
        lastframe_ = f.id;
        lastentity_ = r.entity;
        entity_ = s.newentity();
    }
    return entity_;
}

bool expansion::fill(sink& s) {
    while (depth_ > 0) {
        frame& f = stack_[depth_ - 1];
        auto* r = static_cast<const blockrecord*>(f.b->entities.next());
        if (!r) {
            if (!endcell(f)) pop();
            continue;
        }
        if (r->kind == blockrecord::geometryrecord) {
            if (deliver(f, *r, s)) return true;
            continue;
        }
        // A nested insert that draws nothing is passed over, and counts as
        // work: an array of such cells is bounded too.
        int layer = -1;
        if (rules_) layer = rules_->drawnon(r->ins->params.layer, f.layer);
        bool drawn = !(rules_ && rules_->frozen(layer)) && push(*r->ins->target, r->ins->params, f.cur, layer);
        if (!drawn && !s.spend()) return true;
    }
    return false;
}

}  // namespace ostra
