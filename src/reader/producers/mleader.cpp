#include "reader/producers/mleader.h"

#include <cmath>
#include <cstring>

namespace ostra {

namespace {
bool finite(const brevo::point& p) { return std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.z); }
}  // namespace

void mleaderproducer::start() {
    d_ = leaderdata();
    at_ = outside;
    pending_ = false;
    hasconnection_ = false;
    haslast_ = false;
    lineends_.clear();
    starts_.clear();
    arrowsize_ = 0;
}

// A vertex of a leader line: a segment from the one before; its last vertex
// is joined to the leader's connection point when the leader ends.
void mleaderproducer::endpoint() {
    if (!pending_) return;
    pending_ = false;
    const brevo::point p(x_, y_, z_);
    if (at_ == leader) {
        connection_ = p;
        hasconnection_ = true;
    } else if (at_ == leaderline) {
        if (haslast_ && d_.lines.size() < maxsegments && finite(p) && finite(last_))
            d_.lines.emplace_back(last_, p);
        last_ = p;
        haslast_ = true;
        if (vertices_ == 0) first_ = p;
        if (vertices_ == 1 && starts_.size() < maxsegments) starts_.push_back({first_, p, true});
        if (vertices_ < 2) ++vertices_;
    }
}

// A closed arrow with its tip at tip, pointing away from towards.
void mleaderproducer::arrow(const brevo::point& tip, const brevo::point& towards) {
    const brevo::vector u = (towards - tip).unit();
    if (!(arrowsize_ > 0) || !std::isfinite(arrowsize_) || !(u.length() > 0.5) || !finite(tip)) return;
    const brevo::vector side = brevo::vector(-u.y, u.x, 0).unit() * (arrowsize_ / 6);
    const brevo::point base = tip + u * arrowsize_;
    const brevo::point a = base + side, b = base + side * -1.0;
    if (!finite(a) || !finite(b) || d_.lines.size() + 3 > maxsegments) return;
    d_.lines.emplace_back(tip, a);
    d_.lines.emplace_back(a, b);
    d_.lines.emplace_back(b, tip);
}

void mleaderproducer::endleader() {
    if (!hasconnection_ || !finite(connection_)) return;
    for (const brevo::point& e : lineends_)
        if (d_.lines.size() < maxsegments && finite(e)) d_.lines.emplace_back(e, connection_);
    for (const linestart& l : starts_) arrow(l.first, l.hassecond ? l.second : connection_);
    const brevo::point end = connection_ + dogleg_.unit() * doglength_;
    if (doglength_ > 0 && std::isfinite(doglength_) && finite(end) && d_.lines.size() < maxsegments)
        d_.lines.emplace_back(connection_, end);
}

void mleaderproducer::group(int code, const grouptable& t) {
    if (code == 20) {
        y_ = t.number(20);
        return;
    }
    if (code == 30) {
        z_ = t.number(30);
        return endpoint();
    }
    endpoint();
    const char* v = t.get(code);
    switch (code) {
    case 300: if (std::strcmp(v, "CONTEXT_DATA{") == 0) at_ = context; return;
    case 302:
        if (at_ == context && std::strcmp(v, "LEADER{") == 0) {
            at_ = leader;
            hasconnection_ = false;
            doglength_ = 0;
            dogleg_ = brevo::vector(1, 0, 0);
            lineends_.clear();
            starts_.clear();
        }
        return;
    case 303:
        if (at_ == leader) {
            endleader();
            at_ = context;
        }
        return;
    case 305:
        if (at_ == leaderline) {
            if (haslast_ && lineends_.size() < maxsegments) lineends_.push_back(last_);
            if (vertices_ == 1 && starts_.size() < maxsegments) starts_.push_back({first_, first_, false});
            at_ = leader;
        }
        return;
    case 301: if (at_ == context) at_ = after; return;
    default: break;
    }
    if (code == 304 && at_ == leader && std::strcmp(v, "LEADER_LINE{") == 0) {
        at_ = leaderline;
        haslast_ = false;
        vertices_ = 0;
        return;
    }
    if (code == 10 && (at_ == leader || at_ == leaderline)) {
        x_ = t.number(10);
        y_ = z_ = 0;
        pending_ = true;
        return;
    }
    if (at_ == leader) {
        if (code == 11) dogleg_ = brevo::vector(t.number(11), 0, 0);
        if (code == 21) dogleg_.y = t.number(21);
        if (code == 40) doglength_ = t.number(40);
        return;
    }
    if (at_ != context) return;
    switch (code) {
    case 304: d_.text = t.wholetext(304); d_.hastext = true; break;
    case 12: d_.location.x = t.number(12); break;
    case 22: d_.location.y = t.number(22); break;
    case 32: d_.location.z = t.number(32); break;
    case 13: d_.direction = brevo::vector(t.number(13), 0, 0); break;
    case 23: d_.direction.y = t.number(23); break;
    case 41: d_.height = t.number(41); break;
    case 43: d_.width = t.number(43); break;
    case 45: d_.spacing = t.number(45); break;
    case 140: arrowsize_ = t.number(140); break;
    case 171: {
        const double a = t.number(171);
        d_.attachment = a >= 1 && a <= 9 ? static_cast<int>(a) : 1;
        break;
    }
    default: break;
    }
}

leaderdata& mleaderproducer::finish() {
    endpoint();
    return d_;
}

}  // namespace ostra
