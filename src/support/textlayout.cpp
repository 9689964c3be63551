#include "support/textlayout.h"

#include <cmath>

#include "support/textcodec.h"

namespace ostra {

namespace {

const double tabstep = 64;  // four space advances
const double pitch = 5.0 / 3;
const double degree = 3.14159265358979323846 / 180;

bool positive(double v) { return std::isfinite(v) && v > 0; }

double tabstop(double pen) { return (std::floor(pen / tabstep) + 1) * tabstep; }

// The pen's move for the character c at pen.
double advanceof(char32_t c, double pen) {
    if (c == '\t') return tabstop(pen) - pen;
    glyphview g;
    return findglyph(c, g) ? g.advance : missingadvance;
}

bool isbreak(char32_t c) { return c == ' ' || c == '\t'; }

}  // namespace

void textlayout::clear() {
    lines_.clear();
    box_ = textbox();
    missing_ = cut_ = 0;
    height_ = widthfactor_ = 0;
    rewind();
}

// Counts the characters and the missing ones; returns the bytes that hold
// the first maxtextglyphs characters, counting the rest as cut.
std::size_t textlayout::limit(std::size_t n) {
    const char* p = text_;
    const char* end = text_ + n;
    std::size_t count = 0, bytes = n;
    while (p < end) {
        const char* at = p;
        char32_t c = nextutf8(p, end);
        if (c == '\n') continue;
        if (++count > maxtextglyphs) {
            if (count == maxtextglyphs + 1) bytes = std::size_t(at - text_);
            ++cut_;
            continue;
        }
        glyphview g;
        if (c != '\t' && !findglyph(c, g)) ++missing_;
    }
    return bytes;
}

// The pen's advance over the bytes from begin to end, from a line's start.
double textlayout::measure(std::size_t begin, std::size_t end) const {
    const char* p = text_ + begin;
    double pen = 0;
    while (p < text_ + end) pen += advanceof(nextutf8(p, text_ + end), pen);
    return pen;
}

// Splits the first n bytes into lines at '\n' and, with wrap above 0 (font
// units), at the spaces before a word that would reach beyond it.
void textlayout::breaklines(std::size_t n, double wrap) {
    const char* end = text_ + n;
    const char* p = text_;
    std::size_t start = 0;
    double pen = 0;
    bool word = false;       // a word is on the line
    bool inspaces = false;   // in the spaces behind it
    bool canbreak = false;   // the line has spaces behind a word
    std::size_t spaces = 0, resume = 0;  // where the last such spaces start and end
    double before = 0;                   // the pen at spaces
    const double slack = wrap * 1e-9;
    while (p < end) {
        std::size_t at = std::size_t(p - text_);
        char32_t c = nextutf8(p, end);
        std::size_t after = std::size_t(p - text_);
        if (c == '\n') {
            lines_.push_back({start, at, pen, 0, 0});
            start = after, pen = 0, word = inspaces = canbreak = false;
            continue;
        }
        if (isbreak(c)) {
            if (word && !inspaces) spaces = at, before = pen, inspaces = canbreak = true;
            if (inspaces) resume = after;
            pen += advanceof(c, pen);
            continue;
        }
        double a = advanceof(c, pen);
        if (wrap > 0 && canbreak && pen + a > wrap + slack) {
            lines_.push_back({start, spaces, before, 0, 0});
            start = resume;
            pen = measure(start, at);
            a = advanceof(c, pen);
            canbreak = false;
        }
        pen += a;
        word = true, inspaces = false;
    }
    lines_.push_back({start, n, pen, 0, 0});
}

void textlayout::layout(const char* content, std::size_t n, const textstyle& style) {
    text_ = content;
    clear();
    if (!positive(style.height) || !content) return;
    try {
        n = limit(n);
        if (n == 0) return;
        double unit = style.height / fontcapheight;
        double wf = positive(style.widthfactor) ? style.widthfactor : 1;
        bool mtext = style.attachment != 0;
        double wrap = mtext && positive(style.width) ? style.width / (unit * wf) : 0;
        breaklines(n, wrap);
        sx_ = unit * wf;
        sy_ = unit;
        place(style);
    } catch (...) {
        clear();
        throw;
    }
    rewind();
}

void textlayout::place(const textstyle& style) {
    bool mtext = style.attachment != 0;
    int halign = style.halign >= 0 && style.halign <= 5 ? style.halign : 0;
    int valign = style.valign >= 0 && style.valign <= 3 ? style.valign : 0;
    double widest = 0;
    for (const line& l : lines_) widest = std::fmax(widest, l.advance);
    bool between = !mtext && (halign == 3 || halign == 5);
    if (between && !(positive(style.fitlength) && widest > 0)) between = false, halign = 0;
    if (between) {
        if (halign == 3) sy_ *= style.fitlength / (widest * sx_);
        sx_ = style.fitlength / widest;
    }
    height_ = fontcapheight * sy_;
    widthfactor_ = sx_ / sy_;
    double oblique = std::isfinite(style.oblique) ? std::fmax(-85.0, std::fmin(85.0, style.oblique)) : 0;
    shear_ = std::tan(oblique * degree);
    mirrorx_ = style.backward ? -1 : 1;
    mirrory_ = style.upsidedown ? -1 : 1;
    offsetx_ = style.backward && between ? style.fitlength : 0;

    double spacing = positive(style.linespacing) ? std::fmax(0.25, std::fmin(4.0, style.linespacing)) : 1;
    double step = pitch * height_ * (mtext ? spacing : 1);
    int column = 0;
    double y0 = 0;
    if (mtext) {
        int a = style.attachment >= 1 && style.attachment <= 9 ? style.attachment : 1;
        column = (a - 1) % 3;
        int row = (a - 1) / 3;
        double last = double(lines_.size() - 1) * step;
        y0 = row == 0 ? -height_ : row == 1 ? (last - height_) / 2 : last;
    } else {
        column = halign == 1 || halign == 4 ? 1 : halign == 2 ? 2 : 0;
        if (halign == 4) y0 = -height_ / 2;
        else if (!between && valign == 1) y0 = fontdescent * sy_;
        else if (!between && valign == 2) y0 = -height_ / 2;
        else if (!between && valign == 3) y0 = -height_;
    }
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        line& l = lines_[i];
        double w = l.advance * sx_;
        l.x = column == 1 ? -w / 2 : column == 2 ? -w : 0;
        l.y = y0 - double(i) * step;
    }
    makebox();
}

void textlayout::makebox() {
    bool first = true;
    for (const line& l : lines_) {
        double bottom = l.y - fontdescent * sy_, top = l.y + fontcapheight * sy_;
        const double corners[4][2] = {{l.x, bottom}, {l.x + l.advance * sx_, bottom}, {l.x, top},
                                      {l.x + l.advance * sx_, top}};
        for (const auto& c : corners) {
            double x = mirrorx_ * (c[0] + (c[1] - l.y) * shear_) + offsetx_;
            double y = mirrory_ * c[1];
            if (first) box_ = {x, y, x, y};
            box_.xmin = std::fmin(box_.xmin, x), box_.xmax = std::fmax(box_.xmax, x);
            box_.ymin = std::fmin(box_.ymin, y), box_.ymax = std::fmax(box_.ymax, y);
            first = false;
        }
    }
}

void textlayout::rewind() {
    line_ = 0;
    at_ = lines_.empty() ? 0 : lines_[0].begin;
    pen_ = advance_ = 0;
    inglyph_ = boxpending_ = false;
    size_ = 0;
}

// The current stroke from n points (font units) of the glyph at the pen.
void textlayout::emit(const double* xy, std::size_t n) {
    const line& l = lines_[line_];
    for (std::size_t i = 0; i < n; ++i) {
        double gy = xy[2 * i + 1] * sy_;
        double x = l.x + (pen_ + xy[2 * i]) * sx_ + gy * shear_;
        points_[i] = {mirrorx_ * x + offsetx_, mirrory_ * (l.y + gy)};
    }
    size_ = n;
}

bool textlayout::next() {
    double xy[2 * fonttable::maxstrokepoints];
    while (line_ < lines_.size()) {
        if (inglyph_) {
            if (std::size_t n = strokes_.next(xy)) {
                emit(xy, n);
                return true;
            }
            inglyph_ = false;
            pen_ += advance_;
        }
        if (boxpending_) {
            const double cell[10] = {missingleft, 0, missingright, 0, missingright, fontcapheight,
                                     missingleft, fontcapheight, missingleft, 0};
            emit(cell, 5);
            boxpending_ = false;
            pen_ += missingadvance;
            return true;
        }
        const line& l = lines_[line_];
        if (at_ >= l.end) {
            if (++line_ < lines_.size()) at_ = lines_[line_].begin;
            pen_ = 0;
            continue;
        }
        const char* p = text_ + at_;
        char32_t c = nextutf8(p, text_ + l.end);
        at_ = std::size_t(p - text_);
        glyphview g;
        if (c == '\t') {
            pen_ = tabstop(pen_);
        } else if (findglyph(c, g)) {
            strokes_ = glyphstrokes(g);
            advance_ = g.advance;
            inglyph_ = true;
        } else {
            boxpending_ = true;
        }
    }
    size_ = 0;
    return false;
}

}  // namespace ostra
