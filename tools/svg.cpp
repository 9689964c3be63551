#include "svg.h"

#include <algorithm>
#include <cmath>
#include <map>

#include "format.h"

namespace tool {

namespace {

constexpr double degperrad = 57.29577951308232;

// Ten significant digits: far finer than anything the picture shows, and
// short enough to keep files small.
std::string num(double v) {
    if (std::fabs(v) < 1e-300) v = 0;
    char buf[40];
    std::snprintf(buf, sizeof buf, "%.10g", v);
    std::string s = buf;
    return s == "-0" ? "0" : s;
}

// A point in SVG coordinates: the drawing's y axis points up, SVG's down.
std::string pt(const brevo::point& p) {
    return num(p.x) + ' ' + num(-p.y);
}

struct vec2 {
    double x, y;
};

double dot(vec2 a, vec2 b) {
    return a.x * b.x + a.y * b.y;
}

// A projected ellipse that has collapsed to a line (or nearly) is drawn as
// points along the curve: an arc command with a zero radius would be a
// straight line between the end points only.
std::string sampled(const trigcurve& k) {
    const int steps = std::max(2, static_cast<int>(std::ceil(std::fabs(k.t1 - k.t0) / 5.0)));
    std::string d = "M " + pt(k.at(k.t0));
    for (int i = 1; i <= steps; ++i) d += " L " + pt(k.at(k.t0 + (k.t1 - k.t0) * i / steps));
    return d;
}

std::string curvepath(const trigcurve& k) {
    // The projection onto the xy plane is c + a cos t + b sin t with the 2D
    // parts of a and b, which are conjugate semi-diameters of an ellipse.
    // Turning the parameter by s0 gives perpendicular ones, the semi-axes
    // an arc command needs: u = a cos s0 + b sin s0, v = -a sin s0 + b cos s0.
    const vec2 a{k.a.x, k.a.y}, b{k.b.x, k.b.y};
    const double s0 = 0.5 * std::atan2(2 * dot(a, b), dot(a, a) - dot(b, b));
    const vec2 u{a.x * std::cos(s0) + b.x * std::sin(s0), a.y * std::cos(s0) + b.y * std::sin(s0)};
    const vec2 v{-a.x * std::sin(s0) + b.x * std::cos(s0), -a.y * std::sin(s0) + b.y * std::cos(s0)};
    const double rx = std::hypot(u.x, u.y), ry = std::hypot(v.x, v.y);
    const double big = std::max(rx, ry), small = std::min(rx, ry);
    if (big == 0) return "M " + pt(k.c) + " L " + pt(k.c);
    if (small < 1e-9 * big) return sampled(k);

    // The parameter runs counterclockwise in the drawing when v lies
    // counterclockwise of u and t grows (or both the other way round).
    // Negating y mirrors the picture, so counterclockwise in the drawing is
    // sweep flag 0 (decreasing SVG angle) and clockwise is 1.
    const double delta = k.t1 - k.t0;
    const bool vccw = u.x * v.y - u.y * v.x > 0;
    const bool ccw = (delta > 0) == vccw;
    const char* sweepflag = ccw ? "0" : "1";
    // A circle needs no rotation; an ellipse's is kept within (-90, 90].
    double rotation = big - small <= 1e-12 * big ? 0 : std::atan2(-u.y, u.x) * degperrad;
    if (rotation > 90) rotation -= 180;
    if (rotation <= -90) rotation += 180;

    // An arc command is ill-conditioned when its end points nearly coincide
    // (a turn close to 360 degrees) or lie nearly opposite (close to 180
    // degrees, where rounding moves the centre by the square root of the
    // error): such arcs are drawn in two halves.
    const double turn = std::fabs(delta);
    const int pieces = turn > 350 || std::fabs(turn - 180) < 5 ? 2 : 1;
    const double step = delta / pieces;
    const char* largeflag = std::fabs(step) > 180 ? "1" : "0";
    std::string d = "M " + pt(k.at(k.t0));
    for (int i = 1; i <= pieces; ++i) {
        const double t = i == pieces ? k.t1 : k.t0 + step * i;
        d += " A " + num(rx) + ' ' + num(ry) + ' ' + num(rotation) + ' ' + largeflag + ' ' + sweepflag +
             ' ' + pt(k.at(t));
    }
    return d;
}

bool idstart(unsigned char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
}

bool idchar(unsigned char c) {
    return idstart(c) || (c >= '0' && c <= '9') || c == '-' || c == '.';
}

// The colour most of a layer's items have.
int mostfrequent(const std::vector<const svgitem*>& items) {
    std::map<int, std::size_t> counts;
    int best = 0;
    std::size_t most = 0;
    for (const svgitem* i : items)
        if (++counts[i->color] > most) most = counts[i->color], best = i->color;
    return best;
}

}  // namespace

std::string svgcolor(int color) {
    const int r = color >> 16 & 0xFF, g = color >> 8 & 0xFF, b = color & 0xFF;
    // Near white: brighter than 90 % by the usual luma weights.
    if (color < 0 || 299 * r + 587 * g + 114 * b > 900 * 255) return "#000000";
    char buf[16];
    std::snprintf(buf, sizeof buf, "#%06x", static_cast<unsigned>(color) & 0xFFFFFFu);
    return buf;
}

// The em of font size 1 holds a capital letter about 0.72 high; lines are
// 5/3 of a text height apart.
constexpr double capheight = 0.72;
constexpr double linepitch = 5.0 / 3 * capheight;

svgtext makesvgtext(const ostra::textinfo& t, bool mtext) {
    svgtext out;
    out.content = t.content;
    // xaxis and yaxis are one text height long, which a capital letter of
    // font size 1 is capheight of. Local (u, v), v down: world = anchor +
    // u k xaxis - v k yaxis; SVG negates y.
    const double k = 1 / capheight;
    const double m[6] = {k * t.xaxis.x, -k * t.xaxis.y, -k * t.yaxis.x, k * t.yaxis.y, t.anchor.x, -t.anchor.y};
    std::copy(m, m + 6, out.matrix);
    const int h = t.halign, v = t.valign;
    out.anchor = h == 1 || h == 4 ? "middle" : h == 2 ? "end" : "start";
    if (mtext || h == 4) {
        out.baseline = v == 3 ? "hanging" : v == 2 || h == 4 ? "central" : "alphabetic";
    } else {
        out.baseline = v == 3 ? "hanging" : v == 2 ? "central" : v == 1 ? "text-after-edge" : "alphabetic";
    }
    const double lines = static_cast<double>(std::count(out.content.begin(), out.content.end(), '\n'));
    if (mtext && v == 1) out.firstline = -lines;
    if (mtext && v == 2) out.firstline = -lines / 2;
    return out;
}

namespace {
void writetext(FILE* out, const svgtext& t, const std::string& colour) {
    std::string m;
    for (int i = 0; i < 6; ++i) m += (i ? " " : "") + num(t.matrix[i]);
    std::fprintf(out,
                 "<text transform=\"matrix(%s)\" font-size=\"1\" font-family=\"sans-serif\" "
                 "text-anchor=\"%s\" dominant-baseline=\"%s\" fill=\"%s\" stroke=\"none\" "
                 "xml:space=\"preserve\">",
                 m.c_str(), t.anchor, t.baseline, colour.c_str());
    std::size_t start = 0;
    for (int line = 0; start <= t.content.size(); ++line) {
        std::size_t end = t.content.find('\n', start);
        if (end == std::string::npos) end = t.content.size();
        const double dy = line == 0 ? t.firstline * linepitch : linepitch;
        std::fprintf(out, "<tspan x=\"0\" dy=\"%s\">%s</tspan>", num(dy).c_str(),
                     xmltext(t.content.substr(start, end - start)).c_str());
        start = end + 1;
    }
    std::fprintf(out, "</text>\n");
}
}  // namespace

std::string svgpath(const brevo::geometry& g) {
    if (const brevo::lineseg* s = g.lns()) return "M " + pt(s->start()) + " L " + pt(s->end());
    trigcurve k;
    if (totrigcurve(g, k)) return curvepath(k);
    return "";
}

std::string svglayerid(const std::string& name, std::set<std::string>& used) {
    bool valid = !name.empty() && idstart(static_cast<unsigned char>(name[0]));
    for (unsigned char c : name) valid = valid && idchar(c);
    std::string id = name;
    if (!valid) {
        id = "layer-";
        for (unsigned char c : name) id += idchar(c) ? static_cast<char>(c) : '_';
    }
    std::string unique = id;
    for (int n = 2; used.count(unique); ++n) unique = id + '-' + std::to_string(n);
    used.insert(unique);
    return unique;
}

bool writesvg(FILE* out, const std::vector<std::string>& layers, const std::deque<svgitem>& items,
              const box& extents, long pixels, const std::function<void(std::size_t)>& written) {
    brevo::point lo(0, 0, 0), hi(1, 1, 0);
    if (!extents.empty()) {
        lo = extents.min();
        hi = extents.max();
    }
    const double larger = std::max(hi.x - lo.x, hi.y - lo.y);
    const double size = larger > 0 ? larger : 1;
    const double margin = 0.05 * size;
    const double stroke = 0.002 * size;
    const double vbx = lo.x - margin, vby = -hi.y - margin;
    const double vbw = hi.x - lo.x + 2 * margin, vbh = hi.y - lo.y + 2 * margin;
    const double scale = static_cast<double>(pixels) / vbw;
    const long width = std::max(1L, pixels);
    const long height = std::max(1L, std::lround(vbh * scale));

    std::fprintf(out, "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n");
    std::fprintf(out,
                 "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"%ld\" height=\"%ld\" "
                 "viewBox=\"%s %s %s %s\">\n",
                 width, height, num(vbx).c_str(), num(vby).c_str(), num(vbw).c_str(), num(vbh).c_str());
    std::fprintf(out, "<rect x=\"%s\" y=\"%s\" width=\"%s\" height=\"%s\" fill=\"white\"/>\n",
                 num(vbx).c_str(), num(vby).c_str(), num(vbw).c_str(), num(vbh).c_str());
    std::fprintf(out,
                 "<g fill=\"none\" stroke-width=\"%s\" stroke-linecap=\"round\" stroke-linejoin=\"round\">\n",
                 num(stroke).c_str());

    std::vector<std::vector<const svgitem*>> bylayer(layers.size());
    for (const svgitem& item : items) bylayer[item.layer].push_back(&item);
    std::set<std::string> used;
    std::size_t done = 0;
    for (std::size_t i = 0; i < layers.size(); ++i) {
        const std::string colour = svgcolor(mostfrequent(bylayer[i]));
        std::fprintf(out, "<g id=\"%s\" stroke=\"%s\">\n<title>%s</title>\n",
                     xmltext(svglayerid(layers[i], used)).c_str(), colour.c_str(), xmltext(layers[i]).c_str());
        for (const svgitem* item : bylayer[i]) {
            const std::string own = svgcolor(item->color);
            const std::string stroke = own == colour ? "" : " stroke=\"" + own + '"';
            if (item->text) {
                writetext(out, *item->text, own);
            } else if (const brevo::point* p = item->g.pt()) {
                std::fprintf(out, "<circle cx=\"%s\" cy=\"%s\" r=\"%s\" fill=\"%s\" stroke=\"none\"/>\n",
                             num(p->x).c_str(), num(-p->y).c_str(), num(2 * 0.002 * size).c_str(), own.c_str());
            } else {
                std::fprintf(out, "<path d=\"%s\"%s/>\n", svgpath(item->g).c_str(), stroke.c_str());
            }
            if (written && ++done % 4096 == 0) written(done);
        }
        std::fprintf(out, "</g>\n");
    }
    std::fprintf(out, "</g>\n</svg>\n");
    if (written) written(items.size());
    return !std::ferror(out);
}

}  // namespace tool
