#include "plan/PlanSettings.h"

#include "text/CaseFold.h"

bool PlanSettings::defaultRotation(const std::string& groupName) {
    const std::string name = text::toLower(groupName);
    for (const char* word : {"стекл", "зеркал", "лакобель"}) {
        if (name.find(word) != std::string::npos)
            return true;
    }
    return false;
}

bool PlanSettings::rotationAllowed(const std::string& groupName) const {
    auto it = rotation.find(groupName);
    return it != rotation.end() ? it->second : defaultRotation(groupName);
}

bool PlanSettings::keepsOffcut(int32_t length) const {
    return length > 0 && length >= minOffcut;
}
