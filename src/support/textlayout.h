// Text laid out in the built-in single-stroke font (support/strokefont.h),
// as strokes: polylines in the text's own frame, ready for a producer to
// map into the world.
//
// The frame: x along the baseline, y up, both in drawing units, orthonormal,
// with the origin at the text's alignment point (TEXT: the first alignment
// point for left/baseline text and for aligned and fit text, the second
// otherwise; MTEXT: its insertion point). Width factor, oblique angle,
// alignment and the backward and upside-down flags are all applied: a point
// (x, y) lies at anchor + x * e1 + y * e2, e1 the unit vector along the
// baseline (for aligned and fit text towards the second point) and e2 the
// unit vector at right angles to it, up.
//
// The text height is a capital letter's height. The line pitch is 5/3 of it
// (MTEXT: times its line spacing factor). The layout is plain: every glyph
// at the text's height; MTEXT's inline formatting (height, width, font
// changes) is not kept by the content and not drawn.
//
// Placement:
// - TEXT (attachment 0). halign (72): 0 left, 1 center, 2 right (the pen's
//   extent, advance widths with the glyphs' side bearings, from 0 or
//   centred on 0 or ending at 0); 3 aligned and 5 fit: between the origin
//   and (fitlength, 0), aligned scaling the height with the width, fit
//   stretching the width only; 4 middle: centred on 0 and on the middle of
//   the text height. valign (73), for 0, 1 and 2 only: 0 the baseline on 0,
//   1 bottom (the descent, 1/3 of the height, above 0), 2 middle (half the
//   height below 0), 3 top (the height below 0). Aligned and fit stand on
//   the baseline. A content with line breaks puts each further line a line
//   pitch below the first, which the alignment places; each line is aligned
//   on its own (aligned and fit: by the widest line).
// - MTEXT (attachment 1 to 9: top, middle, bottom row; left, center, right
//   column). The text's block runs from the top of the first line (its
//   baseline plus the height) to the baseline of the last; the row puts its
//   top, middle or bottom on 0, the column puts each line's left end,
//   middle or right end on 0. With a reference width above 0, words wrap:
//   a line ends before the spaces (and tabs) in front of the first word that
//   would reach beyond the width, and those spaces are dropped; a word
//   wider than the width has a line of its own. Paragraphs are the lines
//   of the content.
// - backward mirrors x about 0 (aligned and fit: about fitlength / 2, so
//   that the text stays between its points), upsidedown mirrors y about 0.
// - oblique slants every glyph about its baseline: a point rises by y and
//   moves by y * tan(oblique) along the baseline.
// A tab moves the pen to the next multiple of four space advances from the
// line's start. A character without a glyph is drawn as a box of the glyph
// cell and counted (missing()).
//
// Values a record leaves out or gets wrong: a height that is not finite or
// not above 0 lays out nothing (no lines, no strokes, an empty box); a width
// factor that is not finite or not above 0 is 1; an oblique angle that is
// not finite is 0 and one beyond 85 degrees either way is 85; a line
// spacing factor that is not finite or not above 0 is 1, and it is held
// between 0.25 and 4; a reference width that is not finite or not above 0
// means no wrapping; halign beyond 0 to 5, valign beyond 0 to 3 and an
// attachment beyond 1 to 9 (other than 0) are 0, 0 and 1; aligned or fit
// text without a fitlength above 0, or with nothing to draw, is left text.
//
// Bounded work: at most maxtextglyphs characters are laid out, the others
// cut and counted (cut()); layout() is linear in the content's length, and
// each next() does the work of one stroke.
#ifndef OSTRA_SUPPORT_TEXTLAYOUT_H
#define OSTRA_SUPPORT_TEXTLAYOUT_H

#include <cstddef>
#include <vector>

#include "support/strokefont.h"

namespace ostra {

constexpr std::size_t maxtextglyphs = 65536;

struct textstyle {
    double height = 1;        // drawing units
    double widthfactor = 1;   // TEXT 41, or the style's
    double oblique = 0;       // degrees from the vertical, positive leaning right
    bool backward = false;    // 71 flag 2
    bool upsidedown = false;  // 71 flag 4
    int halign = 0;           // TEXT 72
    int valign = 0;           // TEXT 73 (ATTRIB 74)
    double fitlength = 0;     // aligned and fit: from the first alignment point to the second
    int attachment = 0;       // MTEXT 71; 0 for TEXT
    double width = 0;         // MTEXT reference width (41)
    double linespacing = 1;   // MTEXT line spacing factor (44)
};

// A box in the text's frame: the glyph cells (from the descent below each
// line's baseline to the height above it, along the line's advance widths,
// slanted by the oblique angle), not the ink.
struct textbox {
    double xmin = 0, ymin = 0, xmax = 0, ymax = 0;
};

struct strokepoint {
    double x, y;
};

class textlayout {
public:
    // Lays out the n bytes of UTF-8 at content (lines separated by '\n';
    // an invalid byte is U+FFFD, which the font lacks) and puts the stroke
    // cursor before the first stroke. content must stay unchanged while the
    // strokes are read. Throws std::bad_alloc when memory runs out (the
    // layout is then empty); next() never allocates.
    void layout(const char* content, std::size_t n, const textstyle& style);

    // Moves to the next stroke; false after the last.
    bool next();
    // The current stroke: at least 2 points, at most
    // fonttable::maxstrokepoints.
    const strokepoint* points() const { return points_; }
    std::size_t size() const { return size_; }
    // Puts the cursor before the first stroke again.
    void rewind();

    std::size_t lines() const { return lines_.size(); }
    const textbox& box() const { return box_; }
    std::size_t missing() const { return missing_; }  // characters drawn as boxes
    std::size_t cut() const { return cut_; }          // characters beyond maxtextglyphs
    double height() const { return height_; }         // as drawn (aligned text scales it)
    double widthfactor() const { return widthfactor_; }  // as drawn (fit text stretches it)

private:
    struct line {
        std::size_t begin, end;  // bytes of the content
        double advance;          // font units
        double x, y;             // its origin, drawing units, before mirroring
    };

    void clear();
    std::size_t limit(std::size_t n);
    void breaklines(std::size_t n, double wrap);
    double measure(std::size_t begin, std::size_t end) const;
    void place(const textstyle& style);
    void makebox();
    void emit(const double* xy, std::size_t n);

    const char* text_ = nullptr;
    std::vector<line> lines_;
    textbox box_;
    std::size_t missing_ = 0, cut_ = 0;
    double height_ = 0, widthfactor_ = 0;
    double sx_ = 0, sy_ = 0, shear_ = 0, mirrorx_ = 1, mirrory_ = 1, offsetx_ = 0;
    // The cursor.
    std::size_t line_ = 0, at_ = 0;
    double pen_ = 0, advance_ = 0;
    bool inglyph_ = false, boxpending_ = false;
    glyphstrokes strokes_;
    strokepoint points_[fonttable::maxstrokepoints];
    std::size_t size_ = 0;
};

}  // namespace ostra

#endif
