#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "calc/SystemKind.h"
#include "catalog/DSItem.h"

class Article;
class ByteReader;
class ByteWriter;
class HandleProfile;
class SplitterProfile;
class RollerKit;
class ProfileColor;
class DoorSet;
class Door;
struct Insert;
class CalcResult;
struct ArticleRow;
struct SystemLists;

// Width proportions of the ten doors, captured before the doors get their standard sizes.
using DoorProportions = std::array<double, 10>;

// One piece of a profile bar group: the length that is cut, the mark of its edge or splitter on
// the sketch and the door it belongs to. shownLength is what the cut list prints (the vertical
// edges group prints the left edge's length on both rows of a door).
struct CutPiece {
    int32_t length = 0;
    int32_t shownLength = 0;
    int32_t mark = 0;
    int32_t doorIndex = -1;
};

// The fields of a system's block in the sketch file, read completely before any of them is
// applied (a damaged file must not change the system). A field the file's version does not hold
// stays empty and keeps the system's current value.
struct SketchBlockData {
    std::optional<uint8_t> edgeOption;
    std::optional<std::string> rollerKitCode; // empty code: automatic choice
    std::optional<uint8_t> pivotMode;         // Ловен
    std::optional<int32_t> heightAdjust;      // Ловен
    std::optional<int32_t> mountingMode;      // Мелоза
};

// The calculation class of one sliding-door system. It sizes the doors, edges, splitters and
// fillings of a door set (updateGeometry) and turns the door set into the bill of materials
// (calculate). The shared algorithms live here once; a system class only picks its steps.
class DSSystem : public DSItem {
public:
    // (catalog index, display name, picture id, cabinetMode, hasEdgeOption); the subclass sets
    // systemKind and its own members.
    DSSystem(int32_t catalogIndex, std::string displayName, int32_t picture, uint8_t cabinet,
             uint8_t edgeOptionOffered);
    DSSystem(const DSSystem&) = delete;
    DSSystem& operator=(const DSSystem&) = delete;

    std::vector<HandleProfile*> handleProfiles;     // in catalog order
    std::vector<SplitterProfile*> splitterProfiles; // the project takes the first one
    std::vector<Article*> systemArticles;           // every other article, roller kits included
    RollerKit* selectedRollerKit = nullptr;         // null: automatic choice
    uint8_t cabinetMode = 0;   // heights are entered for the cabinet (plinth, chipboard)
    uint8_t hasEdgeOption = 0; // the top panel offers the "По краям TL13" toggle
    uint8_t edgeOption = 0;    // state of that toggle
    SystemKind systemKind = SystemStenvik; // selects the rules inside the shared operations
    int32_t maxDoorCount = 10;
    uint8_t tracksSwapped = 0; // returned by swapTracksFlag

    // --- the 22 virtual operations, in their fixed order ---
    /* 0 */ virtual int handleProfileCount();
    /* 1 */ virtual std::vector<HandleProfile*>&
    listHandleProfiles(std::vector<HandleProfile*>& out);
    /* 2 */ virtual void updateGeometry(DoorSet& doorSet, bool keepDoorWidths) = 0;
    /* 3 */ virtual void calculate(DoorSet& doorSet, CalcResult& result,
                                   const ProfileColor* color) = 0;
    /* 4 */ virtual void setHeight(DoorSet& doorSet, int32_t height, int32_t chipboardThickness,
                                   int32_t plinthHeight);
    /* 5 */ virtual int maxDoors();
    /* 6 */ virtual bool swapTracksFlag();
    /* 7 */ virtual void assignTracks(DoorSet& doorSet);
    // Little-endian block of the sketch file; strings are a 16-bit count of UTF-16 code units
    // followed by the units. readSketchBlock = parseSketchBlock, then applySketchBlock only when
    // the whole block was there; false when the stream ran out (nothing is applied).
    /* 8 */ virtual void writeSketchBlock(ByteWriter& file, int version);
    /* 9 */ virtual bool readSketchBlock(ByteReader& file, int version);
    /* 10 */ virtual int clampDoorCount(int n);
    /* 11 */ virtual int minPlinthHeight();
    /* 12 */ virtual void applyDoorSizes(DoorSet& doorSet, int32_t doorHeight, int32_t doorWidth);
    /* 13 */ virtual void assignEdgeProfiles(DoorSet& doorSet, const Article* top,
                                             const Article* bottom);
    /* 14 */ virtual void layoutSplitters(DoorSet& doorSet);
    /* 15 */ virtual void layoutInserts(DoorSet& doorSet);
    /* 16 */ virtual void fitFilling(Insert& insert, int32_t topEdgeWidth, int32_t bottomEdgeWidth);
    /* 17 */ virtual bool captureProportions(DoorSet& doorSet, DoorProportions& proportions);
    /* 18 */ virtual void distributeWidths(DoorSet& doorSet, const DoorProportions& proportions);
    /* 19 */ virtual void calculateFillings(DoorSet& doorSet, CalcResult& result);
    /* 20 */ virtual bool rollerKitFits(const DoorSet& doorSet, const RollerKit* kit);
    /* 21 */ virtual int rollerKitPacks(int doorCount, const RollerKit* kit);

    // --- beyond the fixed 22 ---
    // Reads the block into data without touching the system; false when the stream ran out or a
    // value lies outside what the system can hold.
    virtual bool parseSketchBlock(ByteReader& file, int version, SketchBlockData& data);
    // Applies what parseSketchBlock read. A roller kit code not among systemArticles keeps the
    // current selection.
    virtual void applySketchBlock(const SketchBlockData& data);
    // Takes the lists the catalog built for this system (handle and splitter profiles, articles,
    // the selected kit and the system's own links such as Ловен's pivot kit).
    virtual void takeLists(const SystemLists& lists);

    ~DSSystem() override;

    // --- lookups ---
    // First entry whose code equals the given code exactly (case-sensitive), or null.
    SplitterProfile* splitterProfileByCode(std::string_view code) const;
    Article* articleByCode(std::string_view code) const;
    bool hasArticle(std::string_view code) const;
    std::vector<SplitterProfile*> listSplitterProfiles() const;
    // The entries of systemArticles of kind 6, in list order.
    std::vector<RollerKit*> rollerKits() const;
    // 0 while no kit is selected, else the number of roller kits.
    int rollerKitCount() const;
    // Code of the selected kit, empty when the choice is automatic.
    std::string selectedRollerKitCode() const;

    // --- shared pieces of updateGeometry ---
    // Number of neighbouring door pairs in use whose tracks differ (0 for one door).
    static int overlapCount(const DoorSet& doorSet);
    // The standard door width of sliding doors: (overlaps × overlapPerPair + opening width -
    // reduction) / door count, truncated.
    static int32_t overlappingDoorWidth(const DoorSet& doorSet, int32_t overlapPerPair,
                                        int32_t reduction);
    // The door height of the cabinet-mounted systems (Тавро, Фольм, Норсия): cabinet height -
    // chipboard - plinth + 43 mm.
    static int32_t cabinetDoorHeight(int32_t height, int32_t chipboardThickness,
                                     int32_t plinthHeight);
    // Step 1 of the skeleton for a door size computed by the system: proportions, nominal width,
    // door sizes, proportional widths. Runs only when keepDoorWidths is false.
    void resizeDoors(DoorSet& doorSet, int32_t doorHeight, int32_t doorWidth);
    // Left and right edges: the handle profile with the door height. Top and bottom: the given
    // articles with the door width + horizontalAllowance.
    static void assignFrameEdges(DoorSet& doorSet, const Article* top, const Article* bottom,
                                 int32_t horizontalAllowance);

    // --- bill of materials ---
    // Empties the result's lists, marks the prices dirty and restarts the row counters.
    static void clearResult(CalcResult& result);
    // Unit price of an article in a colour for this system (no colour: the first price).
    int32_t priceOf(const Article& article, const ProfileColor* color) const;
    // First of the article's prices regardless of colour.
    static int32_t basePrice(const Article& article);
    // The stock length in use: stockLength2/3 per stockChoice, else stockLength1.
    static int32_t stockLengthOf(const Article& article);
    // Whether an article of this kind is sold in stock bars (kinds 0, 3, 5).
    static bool soldInBars(const Article& article);

    // The pieces packed into stock bars in list order, or a total length for goods sold by length.
    ArticleRow packBars(const Article& article, const std::vector<int32_t>& pieces,
                        const ProfileColor* color) const;
    // Code and name, quantity, cost = int(price × quantity / 10000), counted 0.
    ArticleRow makeArticleRow(const Article& article, int32_t quantity,
                              const ProfileColor* color) const;

    // Lines: each appends one ArticleRow and its cut rows, with the next profile group number.
    // A bar group; cutName replaces the article name on the cut rows when not empty.
    ArticleRow& addBarGroup(CalcResult& result, const Article& article,
                            const std::vector<CutPiece>& pieces, const ProfileColor* color,
                            const std::string& cutName = std::string());
    // A length line: makeArticleRow with a length, one cut row "%0.1f" mm, mark "0". A profile
    // billed so is cut into the given number of equal pieces, quantity / pieces each (a line for
    // the top and the bottom track is two); goods sold by length are not cut.
    ArticleRow& addLengthLine(CalcResult& result, const Article& article, int32_t quantity,
                              const ProfileColor* color, int32_t pieces = 1);
    // A piece line: quantity = count, cost = base price × count, counted 1.
    ArticleRow& addPieceLine(CalcResult& result, const Article& article, int32_t count);
    // A roller kit line for the given kit; error text when fits is false; quantity < 0 means
    // rollerKitPacks(door count, kit).
    ArticleRow& addKitLine(CalcResult& result, const DoorSet& doorSet, const RollerKit& kit,
                           bool fits, int32_t quantity = -1);
    // The selected kit tested with rollerKitFits, or, when none is selected, the automatic kit
    // untested (skipped when it is null). automaticQuantity < 0: rollerKitPacks.
    void addRollerKitLine(CalcResult& result, const DoorSet& doorSet, const RollerKit* automaticKit,
                          int32_t automaticQuantity = -1);
    // Same by code: convenience for the length and piece lines of a system's own articles;
    // nothing is added when the code is not among systemArticles.
    void addLengthLine(CalcResult& result, std::string_view code, int32_t quantity,
                       const ProfileColor* color, int32_t pieces = 1);
    void addPieceLine(CalcResult& result, std::string_view code, int32_t count);

    // The standard profile groups.
    void addVerticalEdgesGroup(CalcResult& result, const DoorSet& doorSet,
                               const ProfileColor* color);
    void addHorizontalEdgesGroups(CalcResult& result, const DoorSet& doorSet,
                                  const ProfileColor* color);
    // The same with the top group priced in its own colour (Стенвик: the first price).
    void addHorizontalEdgesGroups(CalcResult& result, const DoorSet& doorSet,
                                  const ProfileColor* bottomColor, const ProfileColor* topColor);
    void addSplittersGroup(CalcResult& result, const DoorSet& doorSet, const ProfileColor* color);
    // All three in this order.
    void addStandardProfileGroups(CalcResult& result, const DoorSet& doorSet,
                                  const ProfileColor* color);

    // True for a single door and when every door in use runs on the track of the door before.
    static bool allDoorsOnOneTrack(const DoorSet& doorSet);
    // The tracks of the systems mounted in the opening (Ловен without pivot, Стенвик, Кверт-Н):
    // upper "KL03" on one track else "KL02", lower "KL06" else "KL05", each a length line of the
    // opening width priced for the colour.
    void addOpeningTracks(CalcResult& result, const DoorSet& doorSet, const ProfileColor* color);

    // Pieces of the fit tables. Bounded: (top splitter or a top edge width) and (bottom splitter
    // or a bottom edge width).
    static bool isBounded(const Insert& insert, int32_t topEdgeWidth, int32_t bottomEdgeWidth);
    // x += by, w -= 2 × by; when vertically also y += by, h -= 2 × by.
    static void shrinkFilling(Insert& insert, int32_t by, bool vertically);
    // Ловен, Мелоза (accept80) and Дарсо: 0 and 100 unchanged; 40 (and 80) shrink by 10 on every
    // side; any other thickness is a mismatch. Inserts without material are left alone.
    static void fitFillingShrinkAllSides(Insert& insert, bool accept80);

    // The filling rows: groupByCodeOnly selects Ловен's grouping (material code alone) and
    // decimalSizes its "%0.1f" sizes; perimeters, when given, receives each door's KL17 seal
    // length (one entry per door in use).
    void calculateFillingsWith(DoorSet& doorSet, CalcResult& result, bool groupByCodeOnly,
                               bool decimalSizes, std::vector<int64_t>* perimeters);
    // Ловен's fillings (grouped by material code, sizes "%0.1f"), preceded in the articles by a
    // length line of the seal sealCode at the first price, without cut row, for the perimeter of
    // the fitted fillings whose thickness is neither 0 nor 10 mm (Ловен, Мелоза).
    void calculateFillingsWithPerimeterSeal(DoorSet& doorSet, CalcResult& result,
                                            std::string_view sealCode);
};

// Error and warning texts of the calculation.
namespace calctext {
inline constexpr const char* kBarTooLong = "ОШИБКА! Есть отрезки профилей больше %2.1f м.";
inline constexpr const char* kRollersDoNotFit = "ОШИБКА: Ролики не подходят к выбранным ручкам.";
inline constexpr const char* kThicknessMismatch =
    "ОШИБКА: Не подходящий по толщине (%2.2f) материал.";
inline constexpr const char* kCoverStripTooShort =
    "ОШИБКА: Некторые отрезки разделителей слишком короткие.";
inline constexpr const char* kNoMaterialCode = "ВНИМАНИЕ";
inline constexpr const char* kNoMaterialName = "ОТДЕЛОЧНЫЙ МАТЕРИАЛ НЕ УКАЗАН";
} // namespace calctext
