#pragma once

#include <cstdint>

class Project;

// A random but plausible order on the project: the system (seed mod the number of systems, so
// consecutive seeds run through all of them), a handle profile, 1 to 10 doors, opening sizes,
// up to four splitters per door and one to three materials over the inserts (a few left empty).
// The same seed gives the same order on the same catalog.
void makeRandomOrder(Project& project, uint32_t seed);
