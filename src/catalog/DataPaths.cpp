#include "catalog/DataPaths.h"

#include <cstdlib>

int32_t DataPaths::categoryFromWord(std::string_view word) {
    for (size_t i = 0; i < categoryWords.size(); ++i) {
        if (categoryWords[i] == word)
            return static_cast<int32_t>(i) + 1;
    }
    return CategoryNone;
}

bool DataPaths::isPictureExtension(std::string_view extension) {
    for (std::string_view known : pictureExtensions) {
        if (known == extension)
            return true;
    }
    return false;
}

std::string DataPaths::join(std::string_view folder, std::string_view name) {
    std::string path(folder);
    if (!path.empty() && path.back() != '/')
        path += '/';
    path += name;
    return path;
}

std::string DataPaths::profilePricePath(std::string_view base) {
    return join(join(base, profilesFolder), profilePriceFile);
}

std::string DataPaths::colorPricePath(std::string_view base) {
    return join(join(base, profilesFolder), colorPriceFile);
}

std::string DataPaths::rollerPath(std::string_view base) {
    return join(join(base, profilesFolder), rollerFile);
}

std::string DataPaths::materialsPath(std::string_view base) {
    return join(base, materialsFolder);
}

std::string DataPaths::configPath(std::string_view base) {
    return join(base, configFolder);
}

std::string DataPaths::userStateFolder() {
    const char* state = std::getenv("XDG_STATE_HOME");
    if (state != nullptr && state[0] == '/')
        return join(state, "tavrolab");
    const char* home = std::getenv("HOME");
    if (home != nullptr && home[0] == '/')
        return join(join(home, ".local/state"), "tavrolab");
    return {};
}
