#pragma once

#include <cstdint>
#include <string>

// One filling material of a material group, read from the group's price file.
class Material {
public:
    std::string groupName;   // name of its MaterialGroup
    std::string code;        // "код"
    std::string imagePath;   // full path of its picture file
    std::string name;        // "название"; may be empty
    int32_t width = 0;       // "ширина" as written in the file
    int32_t length = 0;      // "длина" as written in the file
    int32_t price = 0;       // kopecks per square metre: the whole roubles of "цена" × 100
    int32_t thickness = 0;   // 0.1 mm: the whole millimetres of "толщина" × 10
    bool fromFolder = false; // the row named a folder of pictures instead of one picture
    // The picture as the price file names it (a folder material: the folder the row names and
    // the file found in it). When fileName is empty the last part of imagePath stands in.
    std::string folderName;
    std::string fileName;

    // The picture's name relative to the group's images folder: the file name, or for a
    // material from a folder the folder name, a backslash and the file name. The backslash is
    // part of the stored key (sketch files keep it), whatever the platform's path separator.
    std::string pictureKey() const;
};
