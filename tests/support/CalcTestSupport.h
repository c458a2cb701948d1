#pragma once

#include "calc/DSSystem.h"
#include "catalog/Article.h"
#include "catalog/HandleProfile.h"
#include "catalog/Material.h"
#include "catalog/RollerKit.h"
#include "catalog/SplitterProfile.h"
#include "model/DoorSet.h"

#include <memory>
#include <string>
#include <vector>

namespace calctest {

// A system that runs the base geometry and the standard groups, for testing the shared
// algorithms with any systemKind.
class TestSystem : public DSSystem {
public:
    explicit TestSystem(SystemKind kind);
    void updateGeometry(DoorSet& doorSet, bool keepDoorWidths) override;
    void calculate(DoorSet& doorSet, CalcResult& result, const ProfileColor* color) override;

    int32_t doorHeight = 0;
    int32_t doorWidth = 0;
    const Article* topEdge = nullptr;
    const Article* bottomEdge = nullptr;
};

// Records owned by the test, with the sizes given in 0.1 mm.
struct Records {
    std::vector<std::unique_ptr<Article>> articles;
    std::vector<std::unique_ptr<Material>> materials;

    Article* article(const std::string& code, int32_t kind, int32_t price = 0, int32_t stock = 0,
                     int32_t dimA = 0, int32_t dimB = 0, int32_t dimC = 0);
    HandleProfile* handle(const std::string& code, int32_t dimA, int32_t dimB, int32_t dimC,
                          int32_t stock, int32_t rollerKind);
    SplitterProfile* splitter(const std::string& code, int32_t dimC, int32_t dimD,
                              int32_t price = 0, int32_t stock = 59000);
    RollerKit* kit(const std::string& code, int32_t rollerType, uint8_t perSet, uint8_t count,
                   int32_t price = 0);
    const Material* material(const std::string& code, int32_t thickness, int32_t pricePerM2,
                             const std::string& picture = "a.jpg", bool fromFolder = false,
                             const std::string& name = "Материал");
};

// Splits the insert of door d that holds the point (pos across the door's axis, inside at
// `inside` along it) with a splitter at pos. The door's screen rectangle is set to its own size at
// scale 1 first.
Splitter* split(Door& d, int32_t pos, bool vertical, int32_t inside,
                const SplitterProfile* profile);

// The piece numbers as the project gives them: edges, splitters, then inserts.
void numberPieces(DoorSet& doorSet);

} // namespace calctest
