// Article rows and cut rows: stock bars, lengths, pieces, roller kits, the standard groups.
#include "calc/CalcResult.h"
#include "calc/DSSystem.h"
#include "calc/DoorShares.h"
#include "calc/RowFormat.h"
#include "calc/Totals.h"

#include "catalog/Article.h"
#include "catalog/RollerKit.h"
#include "catalog/SplitterProfile.h"
#include "model/DoorSet.h"
#include "text/Format.h"

#include <algorithm>

namespace {

// Price per metre times a length in 0.1 mm, truncated to kopecks.
int64_t costOfLength(int32_t pricePerMetre, int64_t length) {
    return totals::kopecksOf(pricePerMetre * (static_cast<double>(length) / 10000.0));
}

CutPieceRow accessoryCutRow(const ArticleRow& row, int32_t group, std::string length) {
    CutPieceRow cut;
    cut.number = rowformat::pair(group, 0);
    cut.code = row.code;
    cut.name = row.name;
    cut.length = std::move(length);
    cut.mark.assign(1, '0'); // assign(const char*) trips a false -Wrestrict in GCC 12
    cut.doorIndex = -1;
    return cut;
}

} // namespace

void DSSystem::clearResult(CalcResult& result) {
    result.clear();
}

int32_t DSSystem::priceOf(const Article& article, const ProfileColor* color) const {
    return article.price(color, index);
}

int32_t DSSystem::basePrice(const Article& article) {
    return article.prices[0];
}

int32_t DSSystem::stockLengthOf(const Article& article) {
    switch (article.stockChoice) {
    case 2:
        return article.stockLength2;
    case 3:
        return article.stockLength3;
    default:
        return article.stockLength1;
    }
}

bool DSSystem::soldInBars(const Article& article) {
    return article.kind == KindHandle || article.kind == KindRearDoor ||
           article.kind == KindMainFrame;
}

ArticleRow DSSystem::packBars(const Article& article, const std::vector<int32_t>& pieces,
                              const ProfileColor* color) const {
    ArticleRow row;
    row.code = article.code;
    row.name = article.name;
    const int32_t stock = stockLengthOf(article);
    const int32_t price = priceOf(article, color);
    if (soldInBars(article)) {
        row.counted = 1;
        row.stockLength = stock;
        int64_t room = 0; // length already taken from the open bar
        for (int32_t piece : pieces) {
            room += piece;
            if (room > stock) {
                if (piece > stock) {
                    row.error = text::format(calctext::kBarTooLong, stock / 10000.0);
                    break;
                }
                row.quantity += 1;
                row.cost += costOfLength(price, stock);
                room = piece; // the piece opens the next bar
            }
        }
        if (room > 0) {
            row.quantity += 1;
            row.cost += costOfLength(price, stock);
        }
    } else {
        int64_t total = 0;
        for (int32_t piece : pieces)
            total += piece;
        row.quantity = static_cast<int32_t>(total);
        row.stockLength = 0;
        row.counted = 0;
        row.cost = costOfLength(price, row.quantity);
    }
    totals::refuseUnfitCost(row.cost, row.error);
    return row;
}

ArticleRow DSSystem::makeArticleRow(const Article& article, int32_t quantity,
                                    const ProfileColor* color) const {
    ArticleRow row;
    row.code = article.code;
    row.name = article.name;
    row.quantity = quantity;
    row.cost = costOfLength(priceOf(article, color), quantity);
    row.stockLength = 0;
    row.counted = 0;
    totals::refuseUnfitCost(row.cost, row.error);
    return row;
}

ArticleRow& DSSystem::addBarGroup(CalcResult& result, const Article& article,
                                  const std::vector<CutPiece>& pieces, const ProfileColor* color,
                                  const std::string& cutName) {
    std::vector<int32_t> lengths;
    lengths.reserve(pieces.size());
    for (const CutPiece& p : pieces)
        lengths.push_back(p.length);
    result.articles.push_back(packBars(article, lengths, color));
    const ArticleRow& row = result.articles.back();
    const int32_t group = result.profileGroupCounter;
    int k = 0;
    for (const CutPiece& p : pieces) {
        CutPieceRow cut;
        cut.number = rowformat::pair(group, ++k);
        cut.code = row.code;
        cut.name = cutName.empty() ? row.name : cutName;
        cut.length = rowformat::tenths(p.shownLength);
        cut.mark = rowformat::integer(p.mark);
        cut.doorIndex = p.doorIndex;
        result.cutList.push_back(std::move(cut));
    }
    if (soldInBars(article)) {
        BarGroup bars{&article, priceOf(article, color), result.articles.size() - 1, {}};
        bars.pieces.reserve(pieces.size());
        for (const CutPiece& p : pieces)
            bars.pieces.push_back({p.length, p.mark, p.doorIndex});
        result.barGroups.push_back(std::move(bars));
    }
    ++result.profileGroupCounter;
    return result.articles.back();
}

ArticleRow& DSSystem::addLengthLine(CalcResult& result, const Article& article, int32_t quantity,
                                    const ProfileColor* color, int32_t pieces) {
    result.articles.push_back(makeArticleRow(article, quantity, color));
    const ArticleRow& row = result.articles.back();
    CutPieceRow cut = accessoryCutRow(row, result.profileGroupCounter, rowformat::tenths(quantity));
    if (article.kind != KindByLength && pieces > 0) {
        cut.pieceCount = pieces;
        cut.pieceLength = quantity / pieces;
    }
    result.cutList.push_back(std::move(cut));
    ++result.profileGroupCounter;
    return result.articles.back();
}

ArticleRow& DSSystem::addPieceLine(CalcResult& result, const Article& article, int32_t count) {
    ArticleRow row;
    row.code = article.code;
    row.name = article.name;
    row.quantity = count;
    row.cost = int64_t{basePrice(article)} * count;
    row.counted = 1;
    totals::refuseUnfitCost(row.cost, row.error);
    result.articles.push_back(std::move(row));
    const ArticleRow& added = result.articles.back();
    result.cutList.push_back(
        accessoryCutRow(added, result.profileGroupCounter, rowformat::integer(count)));
    ++result.profileGroupCounter;
    return result.articles.back();
}

ArticleRow& DSSystem::addKitLine(CalcResult& result, const DoorSet& doorSet, const RollerKit& kit,
                                 bool fits, int32_t quantity) {
    if (quantity < 0)
        quantity = rollerKitPacks(doorSet.doorCount, &kit);
    ArticleRow& row = addPieceLine(result, kit, quantity);
    if (!fits)
        row.error = calctext::kRollersDoNotFit;
    recordKitShares(result, kit, row, doorSet.doorsInUse());
    return row;
}

void DSSystem::addRollerKitLine(CalcResult& result, const DoorSet& doorSet,
                                const RollerKit* automaticKit, int32_t automaticQuantity) {
    if (selectedRollerKit != nullptr) {
        addKitLine(result, doorSet, *selectedRollerKit, rollerKitFits(doorSet, selectedRollerKit));
    } else if (automaticKit != nullptr) {
        addKitLine(result, doorSet, *automaticKit, true, automaticQuantity);
    }
}

void DSSystem::addLengthLine(CalcResult& result, std::string_view code, int32_t quantity,
                             const ProfileColor* color, int32_t pieces) {
    if (const Article* a = articleByCode(code))
        addLengthLine(result, *a, quantity, color, pieces);
}

void DSSystem::addPieceLine(CalcResult& result, std::string_view code, int32_t count) {
    if (const Article* a = articleByCode(code))
        addPieceLine(result, *a, count);
}

void DSSystem::addVerticalEdgesGroup(CalcResult& result, const DoorSet& doorSet,
                                     const ProfileColor* color) {
    const Article* article = doorSet.doors[0].edges[EdgeLeft].profile;
    if (article == nullptr)
        return;
    const int n = doorSet.doorsInUse();
    std::vector<CutPiece> pieces;
    pieces.reserve(2 * n);
    for (int i = 0; i < n; ++i) {
        const Door& door = doorSet.doors[i];
        const int32_t shown = door.edges[EdgeLeft].cutLength;
        for (int side : {EdgeLeft, EdgeRight})
            pieces.push_back({door.edges[side].cutLength, shown, door.edges[side].number, i});
    }
    // The cut rows name the bar length too: "... 5,5 м.".
    std::string cutName = article->name;
    cutName.append(text::format(" %3.1f м.", stockLengthOf(*article) / 10000.0));
    addBarGroup(result, *article, pieces, color, cutName);
}

void DSSystem::addHorizontalEdgesGroups(CalcResult& result, const DoorSet& doorSet,
                                        const ProfileColor* color) {
    addHorizontalEdgesGroups(result, doorSet, color, color);
}

void DSSystem::addHorizontalEdgesGroups(CalcResult& result, const DoorSet& doorSet,
                                        const ProfileColor* bottomColor,
                                        const ProfileColor* topColor) {
    const int n = doorSet.doorsInUse();
    for (int side : {EdgeBottom, EdgeTop}) {
        const Article* article = doorSet.doors[0].edges[side].profile;
        if (article == nullptr)
            continue;
        std::vector<CutPiece> pieces;
        pieces.reserve(n);
        for (int i = 0; i < n; ++i) {
            const Edge& edge = doorSet.doors[i].edges[side];
            pieces.push_back({edge.cutLength, edge.cutLength, edge.number, i});
        }
        addBarGroup(result, *article, pieces, side == EdgeTop ? topColor : bottomColor);
    }
}

void DSSystem::addSplittersGroup(CalcResult& result, const DoorSet& doorSet,
                                 const ProfileColor* color) {
    const int n = doorSet.doorsInUse();
    std::vector<CutPiece> pieces;
    const Article* article = nullptr;
    for (int i = 0; i < n; ++i) {
        for (const auto& [id, s] : doorSet.doors[i].splitters) {
            if (s.profile == nullptr)
                continue;
            article = s.profile;
            pieces.push_back({s.cutLength, s.cutLength, s.number, i});
        }
    }
    if (article != nullptr)
        addBarGroup(result, *article, pieces, color);
}

void DSSystem::addStandardProfileGroups(CalcResult& result, const DoorSet& doorSet,
                                        const ProfileColor* color) {
    addVerticalEdgesGroup(result, doorSet, color);
    addHorizontalEdgesGroups(result, doorSet, color);
    addSplittersGroup(result, doorSet, color);
}

bool DSSystem::allDoorsOnOneTrack(const DoorSet& doorSet) {
    const int n = doorSet.doorsInUse();
    for (int i = 1; i < n; ++i)
        if (doorSet.doors[i].track != doorSet.doors[i - 1].track)
            return false;
    return true;
}

void DSSystem::addOpeningTracks(CalcResult& result, const DoorSet& doorSet,
                                const ProfileColor* color) {
    const bool oneTrack = allDoorsOnOneTrack(doorSet);
    addLengthLine(result, oneTrack ? "KL03" : "KL02", doorSet.openingWidth, color);
    addLengthLine(result, oneTrack ? "KL06" : "KL05", doorSet.openingWidth, color);
}
