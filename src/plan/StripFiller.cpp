#include "plan/StripFiller.h"

#include <algorithm>

namespace {

struct Size {
    int32_t w = 0, h = 0;
    bool turned = false;
};

// The pieces as the strips see them: strips across the width, or along the height with every
// piece's sides swapped (and swapped back when placed).
class Strips {
public:
    Strips(const std::vector<SheetPlanPiece>& pieces, const std::vector<int>& candidates, int32_t W,
           int32_t H, int32_t kerf, bool across)
        : pieces_(pieces), candidates_(candidates), used_(candidates.size(), false),
          W_(across ? W : H), H_(across ? H : W), kerf_(kerf), across_(across) {}

    StripFiller::Filling run() {
        int32_t y = 0;
        for (;;) {
            const int32_t room = H_ - y;
            int32_t bestHeight = 0;
            double bestShare = -1.0;
            for (int32_t h : heights(room)) {
                std::vector<Placed> trial;
                std::vector<SheetRect> rest;
                const int64_t area = strip(y, h, trial, rest);
                const double share = static_cast<double>(area) / (static_cast<double>(W_) * h);
                if (area > 0 && share > bestShare) {
                    bestShare = share;
                    bestHeight = h;
                }
            }
            if (bestHeight == 0)
                break;
            std::vector<Placed> placed;
            std::vector<SheetRect> rest;
            strip(y, bestHeight, placed, rest);
            for (const Placed& p : placed) {
                used_[p.slot] = true;
                put(p);
            }
            for (const SheetRect& r : rest)
                free(r.x, r.y, r.width, r.height);
            y += bestHeight + kerf_;
            if (y >= H_)
                break;
        }
        if (H_ - y > 0)
            free(0, y, W_, H_ - y);
        for (size_t i = 0; i < candidates_.size(); ++i)
            if (!used_[i])
                out_.left.push_back(candidates_[i]);
        std::sort(out_.sheet.offcuts.begin(), out_.sheet.offcuts.end(),
                  [](const SheetRect& a, const SheetRect& b) {
                      return int64_t{a.width} * a.height > int64_t{b.width} * b.height;
                  });
        return std::move(out_);
    }

private:
    struct Placed {
        size_t slot = 0;
        int32_t x = 0, y = 0;
        Size size;
    };

    // The piece's sides as the strips see them, turned or not.
    Size sizeOf(size_t slot, bool turned) const {
        const SheetPlanPiece& p = pieces_[static_cast<size_t>(candidates_[slot])];
        const int32_t w = across_ ? p.width : p.height, h = across_ ? p.height : p.width;
        return turned ? Size{h, w, true} : Size{w, h, false};
    }

    bool canTurn(size_t slot) const {
        return pieces_[static_cast<size_t>(candidates_[slot])].canRotate;
    }

    // The strip heights worth trying: the tallest sides of the unused pieces that fit the room,
    // a few of them.
    std::vector<int32_t> heights(int32_t room) const {
        std::vector<int32_t> out;
        for (size_t i = 0; i < candidates_.size(); ++i) {
            if (used_[i])
                continue;
            for (bool t : {false, true}) {
                if (t && !canTurn(i))
                    continue;
                const Size s = sizeOf(i, t);
                if (s.h <= room && s.w <= W_)
                    out.push_back(s.h);
            }
        }
        std::sort(out.begin(), out.end(), std::greater<>());
        out.erase(std::unique(out.begin(), out.end()), out.end());
        if (out.size() > 8)
            out.resize(8);
        return out;
    }

    // The largest unused piece within w × h, in either allowed orientation; false when none.
    bool largest(int32_t w, int32_t h, const std::vector<bool>& taken, size_t& slot,
                 Size& size) const {
        int64_t best = 0;
        for (size_t i = 0; i < candidates_.size(); ++i) {
            if (used_[i] || taken[i])
                continue;
            for (bool t : {false, true}) {
                if (t && !canTurn(i))
                    continue;
                const Size s = sizeOf(i, t);
                // Of two ways that fit, the one filling the strip's height is tried first.
                const int64_t area = int64_t{s.w} * s.h * 4 + (s.h == h ? 1 : 0);
                if (s.w <= w && s.h <= h && area > best) {
                    best = area;
                    slot = i;
                    size = s;
                }
            }
        }
        return best > 0;
    }

    // Fills a strip of height h at y: columns left to right, each led by the largest piece that
    // fits and stacked with the largest that fit under it. Returns the area placed; rest gets the
    // parts of the strip the cuts leave free.
    int64_t strip(int32_t y, int32_t h, std::vector<Placed>& placed,
                  std::vector<SheetRect>& rest) const {
        std::vector<bool> taken(candidates_.size(), false);
        int64_t area = 0;
        int32_t x = 0;
        while (x < W_) {
            size_t slot = 0;
            Size lead;
            if (!largest(W_ - x, h, taken, slot, lead))
                break;
            taken[slot] = true;
            placed.push_back({slot, x, y, lead});
            area += int64_t{lead.w} * lead.h;
            int32_t below = lead.h + kerf_;
            Size next;
            while (below < h && largest(lead.w, h - below, taken, slot, next)) {
                taken[slot] = true;
                placed.push_back({slot, x, y + below, next});
                area += int64_t{next.w} * next.h;
                if (lead.w - next.w - kerf_ > 0)
                    rest.push_back(
                        {x + next.w + kerf_, y + below, lead.w - next.w - kerf_, next.h});
                below += next.h + kerf_;
            }
            if (h - below > 0)
                rest.push_back({x, y + below, lead.w, h - below});
            x += lead.w + kerf_;
        }
        if (W_ - x > 0 && !placed.empty())
            rest.push_back({x, y, W_ - x, h});
        return area;
    }

    void put(const Placed& p) {
        const int piece = candidates_[p.slot];
        const SheetPlanPiece& sp = pieces_[static_cast<size_t>(piece)];
        PlacedPiece out;
        out.piece = piece;
        if (across_) {
            out.x = p.x, out.y = p.y, out.width = p.size.w, out.height = p.size.h;
        } else {
            out.x = p.y, out.y = p.x, out.width = p.size.h, out.height = p.size.w;
        }
        out.rotated = out.width != sp.width || out.height != sp.height;
        if (sp.width == sp.height)
            out.rotated = false;
        out_.sheet.pieces.push_back(out);
        out_.sheet.usedArea += int64_t{out.width} * out.height;
    }

    void free(int32_t x, int32_t y, int32_t w, int32_t h) {
        if (w <= 0 || h <= 0)
            return;
        out_.sheet.offcuts.push_back(across_ ? SheetRect{x, y, w, h} : SheetRect{y, x, h, w});
    }

    const std::vector<SheetPlanPiece>& pieces_;
    const std::vector<int>& candidates_;
    std::vector<bool> used_;
    int32_t W_, H_, kerf_;
    bool across_;
    StripFiller::Filling out_;
};

} // namespace

StripFiller::Filling StripFiller::fill(const std::vector<SheetPlanPiece>& pieces,
                                       const std::vector<int>& candidates, int32_t sheetWidth,
                                       int32_t sheetHeight, int32_t kerf, bool across) {
    return Strips(pieces, candidates, sheetWidth, sheetHeight, kerf, across).run();
}
