#include "catalog/Material.h"

std::string Material::pictureKey() const {
    std::string file = fileName;
    if (file.empty()) {
        const size_t slash = imagePath.find_last_of('/');
        file = slash == std::string::npos ? imagePath : imagePath.substr(slash + 1);
    }
    if (!fromFolder)
        return file;
    return folderName + "\\" + file;
}
