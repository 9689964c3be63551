// texts: the words of a drawing, one text per line.
#include <string>

#include "commands.h"
#include "drawing.h"
#include "format.h"
#include "output.h"

namespace tool {

namespace {

std::string plaintext(const ostra::textinfo& t, ostra::reader& r) {
    const char* layer = r.currentlayer();
    return plainname(r.currentrecord()) + '\t' + (layer ? plainname(layer) : std::string("-")) + '\t' +
           fixed6(t.anchor) + '\t' + fixed6(t.height) + '\t' + fixed6(t.rotation) + '\t' + plainname(t.content);
}

std::string jsontext(const ostra::textinfo& t, ostra::reader& r, const std::string& file) {
    const char* layer = r.currentlayer();
    std::string s = "{";
    if (!file.empty()) s += "\"file\":" + jsonstring(file) + ',';
    s += "\"record\":" + jsonstring(r.currentrecord());
    s += ",\"layer\":" + (layer ? jsonstring(layer) : std::string("null"));
    s += ",\"handle\":" + jsonstring(r.currenthandle());
    s += ",\"anchor\":" + jsonarray(t.anchor) + ",\"height\":" + jsonnumber(t.height) +
         ",\"rotation\":" + jsonnumber(t.rotation) + ",\"halign\":" + std::to_string(t.halign) +
         ",\"valign\":" + std::to_string(t.valign) + ",\"width\":" + jsonnumber(t.width);
    s += ",\"style\":" + jsonstring(t.style) + ",\"tag\":" + jsonstring(t.tag);
    s += ",\"content\":" + jsonstring(t.content) + ",\"raw\":" + jsonstring(t.raw);
    return s + '}';
}

}  // namespace

// Each text is read as a point at its anchor; the pieces of a text that are
// no point (a leader's lines) are left out.
int runtexts(const options& given) {
    options o = given;
    o.text = "items";
    int status = complete;
    bool written = true;
    for (std::size_t i = 0; i < o.files.size() && written; ++i) {
        input in;
        if (!openinput(in, o.files[i])) {
            status = worse(status, unreadable);
            continue;
        }
        if (!o.json) heading(o, in.name(), i == 0);
        const std::string file = o.several() ? in.name() : std::string();
        readoutcome r = readdrawing(in, o, [&](const brevo::geometry& g, ostra::reader& rd) {
            const ostra::textinfo* t = rd.currenttext();
            if (!t || !g.pt()) return true;
            written = emit(o.json ? jsontext(*t, rd, file) : plaintext(*t, rd));
            return written;
        });
        status = worse(status, r.status);
    }
    if (!written) return outputerror("standard output");
    return finishoutput(status);
}

}  // namespace tool
