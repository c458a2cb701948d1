#pragma once

#include <nlohmann/json.hpp>

class Project;

// The whole result of a project as JSON: the project's parameters, the order, the article and
// filling rows, the cut list, the filling pieces, the element list and the totals (kopecks).
nlohmann::json resultJson(Project& project);
