#pragma once

#include <cstdint>
#include <random>

class Project;

// A month of a shop's orders, the same for the same seed: 2–4 doors, the systems in a shop's
// proportions (the first of the catalog most often), openings of 1200–4800 × 2000–2800 mm,
// mirrors, glass and boards in up to three inserts a door.
namespace monthoforders {

inline constexpr int kOrders = 60;

// One order of the month on a new project of the catalog.
void makeOrder(Project& project, std::mt19937& random);

} // namespace monthoforders
