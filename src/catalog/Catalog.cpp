#include "catalog/Catalog.h"

#include <algorithm>
#include <array>
#include <climits>
#include <unistd.h>

#include "catalog/CatalogTables.h"
#include "catalog/DataFileReader.h"
#include "catalog/DataPaths.h"
#include "text/CaseFold.h"

namespace {

// Display names and pictures of the nine systems; the position is the system's index and its
// column in the colour categories.
const std::array<Catalog::SystemInfo, Catalog::systemCount> systemTable = {{
    {"Ловен", 118},
    {"Стенвик", 115},
    {"Дарсо", 315},
    {"Кверт-Н", 119},
    {"Тавро", 116},
    {"Мелоза", 300},
    {"Гартис", 120},
    {"Фольм", 319},
    {"Норсия", 330},
}};

template <typename Record>
Record* findLowered(const std::unordered_map<std::string, Record*>& index, std::string_view key) {
    auto found = index.find(text::toLower(key));
    return found == index.end() ? nullptr : found->second;
}

template <typename Record>
void indexRecord(std::unordered_map<std::string, Record*>& index, Record* record) {
    // The first record with a code wins, as a search in table order would find it.
    index.emplace(text::toLower(record->code), record);
}

} // namespace

const Catalog::SystemInfo& Catalog::systemInfo(int index) {
    static const SystemInfo none{"", 0};
    if (index < 0 || index >= systemCount)
        return none;
    return systemTable[static_cast<size_t>(index)];
}

std::string Catalog::executableFolder() {
    std::string path(PATH_MAX, '\0');
    const ssize_t length = ::readlink("/proc/self/exe", path.data(), path.size());
    if (length <= 0 || static_cast<size_t>(length) >= path.size())
        return ".";
    path.resize(static_cast<size_t>(length));
    const size_t slash = path.find_last_of('/');
    if (slash == std::string::npos)
        return ".";
    if (slash == 0)
        return "/";
    return path.substr(0, slash);
}

Catalog::Catalog(std::string baseFolder, const SystemFactory& makeSystems)
    : baseFolder_(std::move(baseFolder)) {
    using namespace catalog_tables;

    for (const HandleRow& row : handleRows()) {
        auto handle = std::make_unique<HandleProfile>(static_cast<int32_t>(handleTable_.size()),
                                                      std::string(row.code), row.pictureId,
                                                      std::string(row.name));
        handle->setSizes(row.dimA, row.dimB, row.dimC, row.stock1, row.stock2, row.stock3);
        handle->rollerKind = row.rollerKind;
        handleTable_.push_back(handle.get());
        indexRecord(handleIndex_, handle.get());
        ownedHandles_.push_back(std::move(handle));
    }
    for (size_t s = 0; s < systemRows().size(); ++s) {
        for (std::string_view code : systemRows()[s].handleProfiles) {
            if (HandleProfile* handle = handleByCode(code))
                systemLists_[s].handleProfiles.push_back(handle);
        }
    }

    for (const ColorRow& row : colorRows()) {
        const uint32_t rgb = row.red | (uint32_t{row.green} << 8) | (uint32_t{row.blue} << 16);
        auto color = std::make_unique<ProfileColor>(static_cast<int32_t>(colorTable_.size()),
                                                    std::string(row.name), row.pictureId, rgb);
        colorTable_.push_back(color.get());
        indexRecord(colorIndex_, color.get());
        ownedColors_.push_back(std::move(color));
    }
    for (CategoryRow& row : colorCategories_)
        row.fill(CategoryStandard);
    DataFileReader::readColorCategoryFile(*this, DataPaths::colorPricePath(baseFolder_));
    for (ProfileColor* color : colorTable_)
        color->categoryRow = &colorCategories_[static_cast<size_t>(color->index)];

    for (const ColorListRow& row : colorListRows()) {
        HandleProfile* handle = handleByCode(row.handleCode);
        if (!handle)
            continue;
        for (std::string_view name : row.regular) {
            if (ProfileColor* color = colorByName(name))
                handle->colorChoices.push_back({color, false});
        }
        for (std::string_view name : row.onOrder) {
            if (ProfileColor* color = colorByName(name))
                handle->colorChoices.push_back({color, true});
        }
    }

    for (const SplitterRow& row : splitterRows()) {
        auto splitter = std::make_unique<SplitterProfile>(
            static_cast<int32_t>(splitterTable_.size()), std::string(row.code), row.pictureId,
            std::string(row.name));
        splitter->setSizes(row.dimA, row.dimB, row.dimC, row.stock1, row.stock2, 0);
        splitter->dimD = row.dimD;
        splitter->dimE = row.dimE;
        splitter->splitterType = row.splitterType;
        splitter->splitterFlag = row.splitterFlag;
        splitterTable_.push_back(splitter.get());
        indexRecord(splitterIndex_, splitter.get());
        ownedSplitters_.push_back(std::move(splitter));
    }
    for (size_t s = 0; s < systemRows().size(); ++s) {
        for (std::string_view code : systemRows()[s].splitterProfiles) {
            if (SplitterProfile* splitter = splitterByCode(code))
                systemLists_[s].splitterProfiles.push_back(splitter);
        }
    }

    for (const ArticleTableRow& row : articleRows()) {
        const auto index = static_cast<int32_t>(articleList_.size());
        std::unique_ptr<Article> article;
        if (row.kind == KindRollerKit) {
            auto kit = std::make_unique<RollerKit>(index, std::string(row.code), row.pictureId,
                                                   std::string(row.name));
            kit->rollerType = row.rollerType;
            kit->perSet = row.perSet;
            kit->count = row.count;
            article = std::move(kit);
        } else {
            article = std::make_unique<Article>(index, std::string(row.code), row.pictureId,
                                                std::string(row.name), row.kind);
        }
        article->setSizes(row.dimA, row.dimB, row.dimC, row.stock1, 0, 0);
        addArticle(std::move(article));
    }
    for (size_t s = 0; s < systemRows().size(); ++s) {
        for (std::string_view code : systemRows()[s].systemArticles) {
            if (Article* article = articleByCode(code))
                systemLists_[s].systemArticles.push_back(article);
        }
    }
    systemLists_[variantSystemIndex].railVariant = articleByCode(railVariantCode);
    systemLists_[variantSystemIndex].frameVariant = articleByCode(frameVariantCode);

    DataFileReader::readRollerFile(*this, DataPaths::rollerPath(baseFolder_));
    for (size_t s = 0; s < systemRows().size(); ++s) {
        SystemLists& lists = systemLists_[s];
        const bool hasKit = std::any_of(lists.systemArticles.begin(), lists.systemArticles.end(),
                                        [](const Article* a) { return a->kind == KindRollerKit; });
        if (lists.selectedRollerKit && hasKit)
            continue;
        for (std::string_view code : systemRows()[s].defaultRollerKits) {
            if (Article* kit = articleByCode(code))
                lists.systemArticles.push_back(kit);
        }
    }
    systemLists_[pivotSystemIndex].pivotKit = articleByCode(pivotKitCode);

    DataFileReader::readProfilePriceFile(*this, DataPaths::profilePricePath(baseFolder_));
    DataFileReader::scanMaterialsFolder(*this, DataPaths::materialsPath(baseFolder_));

    if (makeSystems) {
        ownedSystems_ = makeSystems(*this);
        for (const SystemEntry& entry : ownedSystems_)
            systems_.push_back(entry.system);
    }
}

Catalog::~Catalog() = default;

Article* Catalog::addArticle(std::unique_ptr<Article> article) {
    Article* raw = article.get();
    articleList_.push_back(raw);
    indexRecord(articleIndex_, raw);
    ownedArticles_.push_back(std::move(article));
    return raw;
}

MaterialGroup* Catalog::addMaterialGroup(std::unique_ptr<MaterialGroup> group) {
    MaterialGroup* raw = group.get();
    materialGroups_.push_back(raw);
    ownedGroups_.push_back(std::move(group));
    return raw;
}

const SystemLists& Catalog::systemLists(int index) const {
    static const SystemLists none;
    if (index < 0 || index >= systemCount)
        return none;
    return systemLists_[static_cast<size_t>(index)];
}

DSSystem* Catalog::systemByName(std::string_view name) const {
    for (const SystemEntry& entry : ownedSystems_) {
        if (entry.owner->code == name)
            return entry.system;
    }
    return nullptr;
}

HandleProfile* Catalog::handleByCode(std::string_view code) const {
    return findLowered(handleIndex_, code);
}

ProfileColor* Catalog::colorByName(std::string_view name) const {
    return findLowered(colorIndex_, name);
}

SplitterProfile* Catalog::splitterByCode(std::string_view code) const {
    return findLowered(splitterIndex_, code);
}

Article* Catalog::articleByCode(std::string_view code) const {
    return findLowered(articleIndex_, code);
}

MaterialGroup* Catalog::materialGroupByName(std::string_view name) const {
    for (MaterialGroup* group : materialGroups_) {
        if (group->name == name)
            return group;
    }
    return nullptr;
}

std::vector<std::string> Catalog::materialGroupNames() const {
    std::vector<std::string> names;
    names.reserve(materialGroups_.size());
    for (const MaterialGroup* group : materialGroups_)
        names.push_back(group->name);
    return names;
}
