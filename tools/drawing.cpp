#include "drawing.h"

#include <cstdio>
#include <cstring>

#include "format.h"

namespace tool {

namespace {

void say(const input& in, unsigned long long line, const std::string& message) {
    std::fprintf(stderr, "%s:%llu: %s\n", printable(in.name()).c_str(), line, message.c_str());
}

// The offending line as it can stand in a one-line message: what is not
// printable escaped, cut short.
std::string shown(std::string text) {
    constexpr std::size_t limit = 80;
    const bool cut = text.size() > limit;
    if (cut) text.resize(limit);
    return cut ? printable(text) + "..." : printable(text);
}

std::string trimmed(const std::string& s) {
    const std::size_t b = s.find_first_not_of(" \t\r");
    return b == std::string::npos ? std::string() : s.substr(b, s.find_last_not_of(" \t\r") - b + 1);
}

// Whether the drawing's last bytes are an ENDSEC record: it closed its last
// section and has no EOF record after it, rather than being cut short.
bool endsafterendsec(const std::string& tail, bool binary) {
    if (binary) {
        static const std::string record("\0ENDSEC\0", 8);  // code 0 (one or two bytes) and the text
        return tail.size() >= record.size() && tail.compare(tail.size() - record.size(), record.size(), record) == 0;
    }
    const std::size_t end = tail.find_last_not_of(" \t\r\n");
    if (end == std::string::npos) return false;
    const std::size_t valuestart = tail.rfind('\n', end);
    if (valuestart == std::string::npos || valuestart == 0) return false;
    const std::size_t codestart = tail.rfind('\n', valuestart - 1);
    if (codestart == std::string::npos) return false;
    return trimmed(tail.substr(valuestart + 1, end + 1 - valuestart - 1)) == "ENDSEC" &&
           trimmed(tail.substr(codestart + 1, valuestart - codestart - 1)) == "0";
}

// Reading ended before the EOF record: a warning when something was read,
// an error when nothing was.
void ended(const input& in, ostra::reader& r, bool anything, long limit, readoutcome& out) {
    const unsigned long long line = static_cast<unsigned long long>(r.line() > 0 ? r.line() : 1);
    std::string why;
    switch (r.status()) {
    case ostra::malformedcode:
        why = std::string("numerical group code expected: ") + shown(r.badline());
        anything = anything && r.line() > 1;
        break;
    case ostra::outofmemory:
        why = "out of memory";
        break;
    case ostra::limitreached:
        why = "the work limit of " + std::to_string(limit) + " geometries was reached (--limit N, 0 for none)";
        anything = true;
        break;
    default:
        if (in.readerror())
            why = std::string("read error: ") + std::strerror(in.readerror());
        else if (endsafterendsec(in.tail(), in.binary()))
            why = "no EOF record (the drawing ends after an ENDSEC)";
        else
            why = "the drawing ends without an EOF record (a cut or incomplete file)";
        break;
    }
    if (!anything) {
        if (r.status() == ostra::malformedcode) why += " (not a DXF drawing?)";
        else if (!in.readerror()) why = "no DXF groups found, not a DXF drawing";
        say(in, line, why);
        out.status = unreadable;
        out.why = why;
        return;
    }
    say(in, line, "warning: reading stopped early: " + why);
    out.status = stoppedearly;
    out.why = "stopped early at line " + std::to_string(line) + ": " + why;
}

char lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool samename(const std::string& a, const std::string& b, bool anycase) {
    if (!anycase || a.size() != b.size()) return a == b;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (lower(a[i]) != lower(b[i])) return false;
    return true;
}

// The filter names that name no layer of the drawing (neither a LAYER entry
// nor a layer its entities are on), in one warning. The exact reading
// compares names without regard to case, as a CAD program does.
void unmatched(const input& in, ostra::reader& r, const options& o) {
    const std::vector<std::string> names = filternames(o.layers);
    if (names.empty()) return;
    std::vector<std::string> layers;
    for (const char* l = r.firstlayer(); l; l = r.nextlayer()) layers.push_back(l);
    std::string missing;
    std::size_t count = 0;
    for (const std::string& name : names) {
        int aci, flags;
        bool found = r.layerinfo(name.c_str(), aci, flags);
        for (std::size_t i = 0; i < layers.size() && !found; ++i) found = samename(layers[i], name, !o.simple);
        if (found) continue;
        missing += (missing.empty() ? "" : ", ") + printable(plainname(name));
        ++count;
    }
    if (count > 0)
        std::fprintf(stderr, "%s: warning: --layers: the drawing has no layer%s %s\n", printable(in.name()).c_str(),
                     count > 1 ? "s" : "", missing.c_str());
}

}  // namespace

std::vector<std::string> filternames(const std::string& layers) {
    std::vector<std::string> names;
    for (std::size_t start = 0; start <= layers.size();) {
        std::size_t comma = layers.find(',', start);
        if (comma == std::string::npos) comma = layers.size();
        const std::string part = layers.substr(start, comma - start);
        const std::size_t b = part.find_first_not_of(" \t");
        if (b != std::string::npos) names.push_back(part.substr(b, part.find_last_not_of(" \t") - b + 1));
        start = comma + 1;
    }
    return names;
}

void configure(ostra::reader& r, const options& o) {
    r.setmessages(nullptr);
    r.setexact(!o.simple);
    r.setlimit(o.limit);
    r.setutf8(true);
    if (o.text == "strokes") r.settext(ostra::textstrokes);
    if (o.text == "items") r.settext(ostra::textitems);
    std::string filter;
    for (const std::string& name : filternames(o.layers)) filter += (filter.empty() ? "" : ",") + name;
    if (!filter.empty()) r.setlayerfilter(filter.c_str());
}

bool openinput(input& in, const std::string& file, std::string* error, bool twice) {
    std::string message;
    if (in.open(file, message, twice)) return true;
    std::fprintf(stderr, "%s: %s\n", printable(in.name()).c_str(), message.c_str());
    if (error) *error = message;
    return false;
}

readoutcome readdrawing(input& in, const options& o, const eachgeometry& each, const afterreading& after) {
    readoutcome out;
    if (in.empty()) {
        out.why = "empty file, not a DXF drawing";
        say(in, 1, out.why);
        out.status = unreadable;
        return out;
    }
    ostra::reader r = in.makereader();
    configure(r, o);
    brevo::geometry g;
    unsigned long long count = 0;
    while (r.next(g)) {
        ++count;
        in.passed(r);
        if (!each(g, r)) {
            out.stopped = true;
            return out;
        }
    }
    if (r.status() == ostra::endofdrawing && !in.readerror()) {
        out.why = "complete";
        unmatched(in, r, o);
    } else {
        ended(in, r, count > 0 || in.contentlines() >= 2, o.limit, out);
        if (out.status == unreadable) return out;
    }
    if (after) after(r);
    return out;
}

}  // namespace tool
