#include "calc/DoorShares.h"

#include "calc/CalcResult.h"
#include "calc/DSSystem.h"
#include "catalog/Article.h"
#include "catalog/RollerKit.h"
#include "model/DoorSet.h"

#include <algorithm>
#include <cstdint>
#include <utility>

namespace {

DoorShareLine lineOf(DoorShareKind kind, const ArticleRow& row) {
    DoorShareLine line;
    line.kind = kind;
    line.code = row.code;
    line.name = row.name;
    line.counted = row.counted;
    line.billed = row.quantity;
    line.error = row.error;
    return line;
}

// A piece line of stoppers; one per door when the spread is PerDoor.
void addStopperLine(DSSystem& system, CalcResult& result, std::string_view code, int32_t count,
                    DoorShareSpread spread) {
    const Article* article = system.articleByCode(code);
    if (article == nullptr)
        return;
    DoorShareLine line =
        lineOf(DoorShareKind::Stopper, system.addPieceLine(result, *article, count));
    line.spread = spread;
    if (spread == DoorShareSpread::PerDoor)
        line.perDoor.assign(static_cast<size_t>(std::max(count, 0)), DoorShare{1, 0, 0});
    result.doorShares.push_back(std::move(line));
}

} // namespace

void recordDoorTracks(CalcResult& result, const DoorSet& doorSet, bool oneTrack) {
    const bool single = oneTrack || DSSystem::allDoorsOnOneTrack(doorSet);
    result.doorTracks.clear();
    for (int i = 0; i < doorSet.doorsInUse(); ++i) {
        const bool front = doorSet.doors[i].track == 1;
        result.doorTracks.push_back(single  ? DoorTrack::Single
                                    : front ? DoorTrack::Front
                                            : DoorTrack::Rear);
    }
}

void addEndBrushLine(DSSystem& system, CalcResult& result, const DoorSet& doorSet,
                     std::string_view code, int32_t n, const ProfileColor* color) {
    const Article* article = system.articleByCode(code);
    if (article == nullptr)
        return;
    const int32_t piece = doorSet.doors[0].edges[EdgeLeft].cutLength;
    DoorShareLine line =
        lineOf(DoorShareKind::Brush, system.addLengthLine(result, *article, piece * n * 2, color));
    line.perDoor.assign(static_cast<size_t>(std::max(n, 0)),
                        DoorShare{int64_t{piece} * 2, 2, piece});
    result.doorShares.push_back(std::move(line));
}

void addStopperPerDoorLine(DSSystem& system, CalcResult& result, std::string_view code, int32_t n) {
    addStopperLine(system, result, code, n, DoorShareSpread::PerDoor);
}

void addStoppersBetweenDoorsLine(DSSystem& system, CalcResult& result, std::string_view code,
                                 int32_t count) {
    addStopperLine(system, result, code, count, DoorShareSpread::BetweenDoors);
}

void addPartsPerDoorLine(DSSystem& system, CalcResult& result, std::string_view code,
                         const std::vector<int32_t>& perDoor) {
    int32_t count = 0;
    for (int32_t n : perDoor)
        count += n;
    const Article* article = system.articleByCode(code);
    if (article == nullptr || count <= 0)
        return;
    DoorShareLine line = lineOf(DoorShareKind::Part, system.addPieceLine(result, *article, count));
    for (int32_t n : perDoor)
        line.perDoor.push_back({n, 0, 0});
    result.doorShares.push_back(std::move(line));
}

void recordKitShares(CalcResult& result, const RollerKit& kit, const ArticleRow& row,
                     int32_t doors) {
    DoorShareLine line = lineOf(DoorShareKind::Rollers, row);
    if (kit.perSet && kit.count > 1) {
        line.spread = DoorShareSpread::KitForDoors;
        line.doorsPerKit = kit.count;
    } else if (doors > 0 && row.quantity % doors == 0) {
        line.perDoor.assign(static_cast<size_t>(doors), DoorShare{row.quantity / doors, 0, 0});
    }
    result.doorShares.push_back(std::move(line));
}

void recordSealShares(CalcResult& result, const ArticleRow& row,
                      const std::vector<int64_t>& perDoor) {
    DoorShareLine line = lineOf(DoorShareKind::Seal, row);
    for (int64_t length : perDoor)
        line.perDoor.push_back({length, 0, 0});
    result.doorShares.push_back(std::move(line));
}

int32_t sealLength(const std::vector<int64_t>& perDoor) {
    int64_t sum = 0;
    for (int64_t length : perDoor)
        sum += length;
    return static_cast<int32_t>(std::min<int64_t>(sum, INT32_MAX));
}
