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
    info_.content = content_.plain.c_str();
    info_.raw = content_.raw.c_str();
    info_.tag = tag_.c_str();
    info_.style = style_.c_str();
    // A text kept in a block is copied once, for all its pieces.
    const textinfo* shown = e.tocaller() ? &info_ : c.blocks.storetext(info_);
    if (!c.strokes) return e.emit(brevo::geometry(info_.anchor), shown);
    layout_.layout(content_.plain.data(), content_.plain.size(), layoutstyle_);
    for (std::size_t i = 0; i < layout_.missing(); ++i) e.shown().count("*missingglyph");
    strokeinfo_ = e.recordinfo();
    strokeinfo_.text = shown;
    at_ = 0;
    if (layout_.next()) e.emitall(*this);
}

// The text height: the record's, its style's fixed height, the header's
// $TEXTSIZE, or the default, whichever is first above 0.
void textproducer::place(int kind, const grouptable& t, const textcontext& c) {
    const textstyles::entry* st = c.styles.find(carriedtext(t, 7));
    double height = finiteor(t, 40, 0);
    if (!(height > 0) && st) height = st->height;
    if (!(height > 0)) {
        const char* v = c.header.value("$TEXTSIZE", 40);
        height = v ? parsedouble(v) : 0;
    }
    if (!(height > 0) || !std::isfinite(height)) height = defaultheight;
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
        if (fit > 0 && std::isfinite(fit)) rotation = std::atan2(dy, dx);
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
    const brevo::vector w2 = normal.cross(w1);
    origin_ = slotpoint(t, 10);
    ocs_ = brevo::trafo();
    e1_ = w1;
    e2_ = w2;
    int attachment = intor(t, 71, 1);
    if (attachment < 1 || attachment > 9) attachment = 1;
    double width = finiteor(t, 41, 0);
    if (!(width > 0)) width = 0;
    double spacing = finiteor(t, 44, 1);
    if (!(spacing > 0)) spacing = 1;
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

// One segment of the current stroke per call, strokes one after another.
bool textproducer::fill(sink& s) {
    for (;;) {
        if (at_ + 1 < layout_.size()) {
            const strokepoint* p = layout_.points();
            const brevo::lineseg seg(toworld(p[at_].x, p[at_].y), toworld(p[at_ + 1].x, p[at_ + 1].y));
            ++at_;
            s.put(brevo::geometry(seg), strokeinfo_);
            return true;
        }
        if (!layout_.next()) return false;
        at_ = 0;
    }
}

}  // namespace ostra
