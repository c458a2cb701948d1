#pragma once

#include <QHash>
#include <QImage>
#include <QString>

#include <string>

// Decoded material pictures, shared by the sketch and the material placement popup: one cache
// maps a picture file to its decoded picture, the other maps "path_width_height" to the picture
// scaled to that size. Each holds at most ten pictures: a cache that already holds more than nine
// is emptied completely before the next one is added, so a long session cannot pile them up.
class PictureCache {
public:
    static constexpr int kMaxEntries = 9; // a cache above this size is emptied before an insert

    // The cache the program's views share.
    static PictureCache& shared();

    // The decoded picture of the file, or null when it cannot be read or decoded. The pointer
    // stays valid until the next call that adds a picture, or clear().
    const QImage* picture(const std::string& path);

    // The picture stretched to width × height (aspect ratio not kept), or null when the file
    // cannot be decoded or the size is not positive.
    const QImage* scaled(const std::string& path, int width, int height);

    // Empties both caches (after a sketch file was opened, after printing).
    void clear();

    int decodedCount() const { return static_cast<int>(decoded_.size()); }
    int scaledCount() const { return static_cast<int>(scaled_.size()); }
    // How many files were decoded and how many pictures scaled since construction (for checks
    // that moving the mouse does not decode anything).
    long long decodeCalls() const { return decodeCalls_; }
    long long scaleCalls() const { return scaleCalls_; }

    static QString scaledKey(const std::string& path, int width, int height);

private:
    QHash<QString, QImage> decoded_; // a null image records a file that could not be decoded
    QHash<QString, QImage> scaled_;
    long long decodeCalls_ = 0;
    long long scaleCalls_ = 0;
};
