#pragma once

#include <string>
#include <vector>

class CuttingPlan;
class Project;

// The label stuck on one cut piece: the order, the door and mark, the article or material and the
// size; or on an offcut that goes back to the shop's stock. The QR code on the label holds
// qrText() exactly.
struct ProductionLabel {
    enum class Kind { Profile, Filling, Offcut };

    Kind kind = Kind::Profile;
    std::vector<std::string> lines;
    // What the QR code holds when it is not the whole text: an offcut of the store holds its id
    // alone, which a scanner types into the store's search field.
    std::string qr;

    // The lines joined with line breaks.
    std::string text() const;
    std::string qrText() const { return qr.empty() ? text() : qr; }

    // One label per cut piece of the order: the profile pieces of the cut list (the pieces cut
    // from bars, and each piece of a profile billed by length, such as a track or a filler strip;
    // goods sold by length and accessories sold by the piece get none), then the filling pieces,
    // each in the order of its list.
    static std::vector<ProductionLabel> listFor(const Project& project);

    // One label per offcut the plan keeps, article by article in the plan's order: what it is,
    // its colour (the project's profile colour) and its length.
    static std::vector<ProductionLabel> offcutLabels(const Project& project,
                                                     const CuttingPlan& plan);
};
