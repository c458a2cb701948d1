#pragma once

#include <string>
#include <vector>

class Project;

// The label stuck on one cut piece: the order, the door and mark, the article or material and the
// size. The QR code on the label holds text() exactly.
struct ProductionLabel {
    enum class Kind { Profile, Filling };

    Kind kind = Kind::Profile;
    std::vector<std::string> lines;

    // The lines joined with line breaks.
    std::string text() const;

    // One label per cut piece of the order: the profile pieces of the cut list (the pieces cut
    // from bars; accessories sold by length or by the piece get none), then the filling pieces,
    // each in the order of its list.
    static std::vector<ProductionLabel> listFor(const Project& project);
};
