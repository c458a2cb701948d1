#pragma once

#include <vector>

class HandleProfile;
class SplitterProfile;
class Article;
class RollerKit;

// The records one system offers, as the catalog builds them for the system's position 0..8:
// handed to the system object by the system factory (see Catalog.h).
struct SystemLists {
    std::vector<HandleProfile*> handleProfiles;
    std::vector<SplitterProfile*> splitterProfiles;
    std::vector<Article*> systemArticles; // built-in articles, kits from the roller file, defaults
    RollerKit* selectedRollerKit = nullptr; // first kit of the roller file; null = automatic
    // Links of single systems, null elsewhere: Ловен's pivot mechanism (KL16), Гартис's rail
    // variant (KG01) and frame variant (KG04).
    Article* pivotKit = nullptr;
    Article* railVariant = nullptr;
    Article* frameVariant = nullptr;
};
