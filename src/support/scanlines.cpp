// The edge table sorted by the sides' lower ends and the active edge list.
#include "support/scanlines.h"

#include <algorithm>

namespace ostra {

void scanlines::start(const std::vector<std::vector<point2>>& polygons, const std::vector<bool>& use, point2 d) {
    sides_.clear();
    active_.clear();
    next_ = 0;
    d_ = d;
    wlo_ = HUGE_VAL;
    whi_ = -HUGE_VAL;
    const std::size_t most = UINT32_MAX;
    for (std::size_t i = 0; i < polygons.size() && i < most; ++i) {
        if (!use.empty() && (i >= use.size() || !use[i])) continue;
        const std::vector<point2>& p = polygons[i];
        std::size_t n = p.size();
        for (std::size_t j = 0; j < n && sides_.size() < most; ++j) {
            const point2& a = p[j];
            const point2& b = p[j + 1 < n ? j + 1 : 0];
            double ua = u(a), wa = w(a), ub = u(b), wb = w(b);
            if (!std::isfinite(ua) || !std::isfinite(wa)) continue;
            wlo_ = std::min(wlo_, wa);
            whi_ = std::max(whi_, wa);
            if (!std::isfinite(ub) || !std::isfinite(wb) || !std::isfinite(ub - ua) || wa == wb || n < 2) continue;
            if (wa < wb)
                sides_.push_back({wa, wb, ua, ub - ua, static_cast<std::uint32_t>(i)});
            else
                sides_.push_back({wb, wa, ub, ua - ub, static_cast<std::uint32_t>(i)});
        }
    }
    std::sort(sides_.begin(), sides_.end(), [](const side& a, const side& b) { return a.wlo < b.wlo; });
}

std::size_t scanlines::crossings(double w, std::vector<crossing>& out) {
    out.clear();
    std::size_t looked = 0;
    for (std::size_t k = 0; k < active_.size();) {
        if (sides_[active_[k]].whi <= w) {
            active_[k] = active_.back();
            active_.pop_back();
            ++looked;
        } else {
            ++k;
        }
    }
    for (; next_ < sides_.size() && sides_[next_].wlo <= w; ++next_, ++looked) {
        if (sides_[next_].whi > w) active_.push_back(static_cast<std::uint32_t>(next_));
    }
    for (std::uint32_t k : active_) {
        const side& s = sides_[k];
        out.push_back({s.ulo + s.du * ((w - s.wlo) / (s.whi - s.wlo)), s.loop});
    }
    return looked + active_.size();
}

}  // namespace ostra
