#include "reader/producers/texts.h"

#include <cmath>
#include <cstring>

#include "reader/delivery/textplacement.h"
#include "reader/records/ocs.h"
#include "reader/records/recordkinds.h"
#include "support/number.h"

namespace ostra {

namespace {
// The height of a text that neither it, its style nor the header gives.
constexpr double defaultheight = 2.5;
constexpr double degree = M_PI / 180;

double finiteor(const grouptable& t, int code, double otherwise) {
    if (!t.carried(code)) return otherwise;
    const double v = t.number(code);
    return std::isfinite(v) ? v : otherwise;
}

int intor(const grouptable& t, int code, int otherwise) {
    if (!t.carried(code)) return otherwise;
    const double v = t.number(code);
    return v >= -1e6 && v <= 1e6 ? static_cast<int>(v) : otherwise;
}

const char* carriedtext(const grouptable& t, int code) { return t.carried(code) ? t.wholetext(code) : ""; }

// The slant of an oblique angle, held within 85 degrees either way as the
// layout holds it.
double slant(double oblique) {
    if (!std::isfinite(oblique)) return 0;
    if (oblique > 85) oblique = 85;
    if (oblique < -85) oblique = -85;
    return std::tan(oblique * degree);
}
}  // namespace

void textproducer::group(int code, const grouptable& t) {
    if ((code == 1 || code == 3) && chunks_.size() < maxtextbytes) chunks_ += t.wholetext(code);
}

// Attributes: an invisible one is hidden; an ATTDEF inside a block draws
// only when it is constant. Then the emit rule.
bool textproducer::drawn(int kind, const grouptable& t, emitter& e) {
    if (kind == kattrib || kind == kattdef) {
        const int flags = intor(t, 70, 0);
        if (flags & 1) {
            if (e.active()) e.shown().count("*invisible");
            return false;
        }
        if (kind == kattdef && !e.tocaller() && !(flags & 2)) return false;
    }
    return e.test();
}

void textproducer::end(int kind, const grouptable& t, emitter& e, const textcontext& c) {
    if (!drawn(kind, t, e)) return;
    const bool attribute = kind == kattrib || kind == kattdef;
    tag_ = attribute ? c.codec.decode(carriedtext(t, 2)) : std::string();
    style_ = c.codec.decode(carriedtext(t, 7));
    const char* text = carriedtext(t, 1);
    std::size_t n = std::strlen(text);
    if (kind == kmtext) {
        text = chunks_.data();
        n = chunks_.size();
    } else if (kind == kattdef && e.tocaller()) {
        text = carriedtext(t, 2);  // an ATTDEF of the drawing itself shows its tag
        n = std::strlen(text);
    }
    decodecontent(c.codec, text, n, kind == kmtext ? textsyntax::mtext : textsyntax::singleline, content_);
    place(kind, t, c);
    lines_.clear();
    deliver(e, c, true);
}

void textproducer::endleader(leaderdata& d, emitter& e, const textcontext& c) {
    if (!e.test()) return;
    tag_.clear();
    style_.clear();
    decodecontent(c.codec, d.text.data(), d.text.size(), textsyntax::mtext, content_);
    ocs_ = brevo::trafo();
    layoutstyle_ = textstyle();
    info_ = textinfo();
    const double height = heightof(d.height, nullptr, c);
    layoutstyle_.height = height;
    info_.height = height;
    brevo::vector w1 = d.direction.unit();
    if (!(w1.length() > 0.5) || std::fabs(w1.z) > 1e-9) w1 = brevo::vector(1, 0, 0);
    placeframe(d.location, w1, brevo::vector(0, 0, 1), height, d.attachment, d.width, d.spacing);
    lines_.swap(d.lines);
    deliver(e, c, d.hastext);
}

// The pieces of the text: a MULTILEADER's lines first, then the point or
// the strokes. A text kept in a block is copied once, for all its pieces.
void textproducer::deliver(emitter& e, const textcontext& c, bool withtext) {
    info_.content = content_.plain.c_str();
    info_.raw = content_.raw.c_str();
    info_.tag = tag_.c_str();
    info_.style = style_.c_str();
    const textinfo* shown = !withtext ? nullptr : e.tocaller() ? &info_ : c.blocks.storetext(info_);
    pointpending_ = withtext && !c.strokes;
    strokespending_ = false;
    if (lines_.empty() && pointpending_) {
        pointpending_ = false;
        return e.emit(brevo::geometry(info_.anchor), shown);
    }
    if (withtext && c.strokes) {
        layout_.layout(content_.plain.data(), content_.plain.size(), layoutstyle_);
        for (std::size_t i = 0; i < layout_.missing(); ++i) e.shown().count("*missingglyph");
        strokespending_ = layout_.next();
        at_ = 0;
    }
    strokeinfo_ = e.recordinfo();
    strokeinfo_.text = shown;
    lineat_ = 0;
    if (!lines_.empty() || pointpending_ || strokespending_) e.emitall(*this);
}

double textproducer::heightof(double own, const textstyles::entry* st, const textcontext& c) const {
    double height = std::isfinite(own) ? own : 0;
    if (!(height > 0) && st) height = st->height;
    if (!(height > 0)) {
        const char* v = c.header.value("$TEXTSIZE", 40);
        height = v ? parsedouble(v) : 0;
    }
    if (!(height > 0) || !std::isfinite(height)) height = defaultheight;
    return height;
}

// The text height: the record's, its style's fixed height, the header's
// $TEXTSIZE, or the default, whichever is first above 0.
void textproducer::place(int kind, const grouptable& t, const textcontext& c) {
    const textstyles::entry* st = c.styles.find(carriedtext(t, 7));
    const double height = heightof(finiteor(t, 40, 0), st, c);
    ocs_ = hasextrusion(t) ? ocstrafo(t) : brevo::trafo();
    layoutstyle_ = textstyle();
    layoutstyle_.height = height;
    info_ = textinfo();
    info_.height = height;
    if (kind == kmtext)
        placemtext(t, height);
    else
        placeline(kind, t, st, height);
}

void textproducer::placeline(int kind, const grouptable& t, const textstyles::entry* st, double height) {
    double wf = finiteor(t, 41, st ? st->widthfactor : 1);
    if (!(wf > 0)) wf = 1;
    const double oblique = finiteor(t, 51, st ? st->oblique : 0);
    double rotation = finiteor(t, 50, 0) * degree;
    const int flags = intor(t, 71, 0);
    const int h = intor(t, 72, 0), v = intor(t, kind == ktext ? 73 : 74, 0);
    const brevo::point p1 = slotpoint(t, 10);
    const brevo::point p2 = t.carried(11) || t.carried(21) ? slotpoint(t, 11) : p1;
    origin_ = h == 0 && v == 0 ? p1 : p2;
    double fit = 0;
    if (h == 3 || h == 5) {
        origin_ = p1;
        const double dx = p2.x - p1.x, dy = p2.y - p1.y;
        fit = std::hypot(dx, dy);
        if (!std::isfinite(fit)) fit = 0;
        if (fit > 0) rotation = std::atan2(dy, dx);
    }
    e1_ = brevo::vector(std::cos(rotation), std::sin(rotation), 0);
    e2_ = brevo::vector(-std::sin(rotation), std::cos(rotation), 0);
    const brevo::vector w1 = ocs_.apply(e1_), w2 = ocs_.apply(e2_);
    info_.anchor = ocs_.apply(origin_);
    info_.second = fit > 0 ? ocs_.apply(p2) : info_.anchor;
    info_.xaxis = w1 * (height * wf * (flags & 2 ? -1 : 1));
    info_.yaxis = (w2 + w1 * slant(oblique)) * (height * (flags & 4 ? -1 : 1));
    info_.halign = h;
    info_.valign = v;
    info_.rotation = rotationof(w1);
    layoutstyle_.widthfactor = wf;
    layoutstyle_.oblique = oblique;
    layoutstyle_.backward = (flags & 2) != 0;
    layoutstyle_.upsidedown = (flags & 4) != 0;
    layoutstyle_.halign = h;
    layoutstyle_.valign = v;
    layoutstyle_.fitlength = fit;
}

// MTEXT: its x direction (11, world) or its rotation (50, degrees, in its
// plane); the insertion point in world coordinates.
void textproducer::placemtext(const grouptable& t, double height) {
    const double rotation = finiteor(t, 50, 0) * degree;
    const brevo::vector normal = ocs_.apply(brevo::vector(0, 0, 1)).unit();
    brevo::vector w1 = ocs_.apply(brevo::vector(std::cos(rotation), std::sin(rotation), 0));
    if (t.carried(11) || t.carried(21)) {
        const brevo::vector d(t.number(11), t.number(21), t.number(31));
        const brevo::vector flat = (d - normal * d.dot(normal)).unit();
        if (flat.length() > 0.5) w1 = flat;
    }
    int attachment = intor(t, 71, 1);
    placeframe(slotpoint(t, 10), w1, normal, height, attachment, finiteor(t, 41, 0), finiteor(t, 44, 1));
}

// An MTEXT frame in world coordinates: x along w1, y at right angles to it
// in the plane of normal.
void textproducer::placeframe(const brevo::point& origin, const brevo::vector& w1, const brevo::vector& normal,
                              double height, int attachment, double width, double spacing) {
    const brevo::vector w2 = normal.cross(w1);
    origin_ = origin;
    ocs_ = brevo::trafo();
    e1_ = w1;
    e2_ = w2;
    if (attachment < 1 || attachment > 9) attachment = 1;
    if (!(width > 0) || !std::isfinite(width)) width = 0;
    if (!(spacing > 0) || !std::isfinite(spacing)) spacing = 1;
    info_.anchor = origin_;
    info_.second = origin_;
    info_.xaxis = w1 * height;
    info_.yaxis = w2 * height;
    info_.halign = (attachment - 1) % 3;
    info_.valign = 3 - (attachment - 1) / 3;
    info_.width = width;
    info_.linespacing = spacing;
    info_.rotation = rotationof(w1);
    layoutstyle_.attachment = attachment;
    layoutstyle_.width = width;
    layoutstyle_.linespacing = spacing;
}

brevo::point textproducer::toworld(double x, double y) const {
    return ocs_.apply(origin_ + e1_ * x + e2_ * y);
}

// One piece per call: a line, the point, or a segment of the current
// stroke, strokes one after another.
bool textproducer::fill(sink& s) {
    if (lineat_ < lines_.size()) {
        s.put(brevo::geometry(lines_[lineat_++]), strokeinfo_);
        return true;
    }
    if (pointpending_) {
        pointpending_ = false;
        s.put(brevo::geometry(info_.anchor), strokeinfo_);
        return true;
    }
    while (strokespending_) {
        if (at_ + 1 < layout_.size()) {
            const strokepoint* p = layout_.points();
            const brevo::lineseg seg(toworld(p[at_].x, p[at_].y), toworld(p[at_ + 1].x, p[at_ + 1].y));
            ++at_;
            s.put(brevo::geometry(seg), strokeinfo_);
            return true;
        }
        strokespending_ = layout_.next();
        at_ = 0;
    }
    return false;
}

}  // namespace ostra
