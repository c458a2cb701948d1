#include "catalog/DataFileReader.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <filesystem>
#include <functional>
#include <sys/stat.h>
#include <unistd.h>

#include "catalog/Catalog.h"
#include "catalog/CsvText.h"
#include "catalog/DataPaths.h"
#include "text/CaseFold.h"
#include "text/Encoding.h"

namespace fs = std::filesystem;
using csv_text::Field;
using csv_text::Line;

namespace {

// Column numbers of the wanted names in a header line; -1 when absent. A name that occurs twice
// takes the later column.
std::vector<int> findColumns(const Line& header, const std::vector<std::string_view>& names) {
    std::vector<int> columns(names.size(), -1);
    size_t longest = 0; // in characters, as a Windows-1251 field counts them
    for (std::string_view name : names)
        longest = std::max(longest, text::utf16Length(name));
    const std::vector<Field> fields = csv_text::splitFields(header);
    for (size_t col = 0; col < fields.size(); ++col) {
        // Longer fields cannot name a column; skipping them keeps huge header lines cheap.
        const size_t length = csv_text::strippedLength(fields[col].text);
        if (length == 0 || length > longest)
            continue;
        const std::string name = csv_text::lowerStripped(fields[col].text);
        for (size_t n = 0; n < names.size(); ++n) {
            if (name == names[n])
                columns[n] = static_cast<int>(col);
        }
    }
    return columns;
}

// Number of fields a row must be split into to reach every wanted column.
size_t fieldLimit(const std::vector<int>& columns) {
    return static_cast<size_t>(std::max(0, *std::max_element(columns.begin(), columns.end()))) + 1;
}

// The raw text of a column in a row; empty when the column is absent or the field does not count.
std::string_view fieldAt(const std::vector<Field>& fields, int column) {
    if (column < 0 || static_cast<size_t>(column) >= fields.size())
        return {};
    const Field& field = fields[static_cast<size_t>(column)];
    return field.closed ? field.text : std::string_view();
}

// A regular file that can be opened for reading. The picture itself is not decoded here.
bool canOpenFile(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    struct stat info {};
    const bool regular = ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode);
    ::close(fd);
    return regular;
}

// Extension of a file name: the text after its last "."; false when there is no "." or the last
// one is the name's first character.
bool extensionOf(std::string_view fileName, std::string_view& extension) {
    const size_t dot = fileName.find_last_of('.');
    if (dot == std::string_view::npos || dot == 0)
        return false;
    extension = fileName.substr(dot + 1);
    return true;
}

// Picture names written on Windows may use "\" between folders; this platform uses "/".
std::string toLocalPath(std::string name) {
    std::replace(name.begin(), name.end(), '\\', '/');
    return name;
}

// Entries of a folder sorted by name, so that groups and pictures come in a stable order.
std::vector<fs::directory_entry> sortedEntries(const std::string& folder) {
    std::vector<fs::directory_entry> entries;
    std::error_code error;
    fs::directory_iterator it(folder, error);
    if (error)
        return entries;
    for (const fs::directory_iterator end; it != end; it.increment(error)) {
        if (error)
            break;
        entries.push_back(*it);
    }
    std::sort(entries.begin(), entries.end(),
              [](const fs::directory_entry& a, const fs::directory_entry& b) {
                  return a.path().filename().native() < b.path().filename().native();
              });
    return entries;
}

// One kit line of a system's block in the roller file.
void appendRollerKitLine(Catalog& catalog, SystemLists& lists, const std::vector<Field>& fields,
                         const std::function<Article*(std::unique_ptr<Article>)>& addArticle) {
    if (fields.size() < 4)
        return;
    const std::string code = csv_text::stripped(fields[0].text);
    const std::string name = csv_text::stripped(fields[1].text);
    const std::string type = csv_text::lowerStripped(fields[2].text);
    const std::string quantity = csv_text::stripped(fields[3].text);
    // A kit without a code could never be chosen or billed by name.
    if (quantity.empty() || code.empty())
        return;

    Article* article = catalog.articleByCode(code);
    if (!article) {
        const int32_t count = csv_text::wholeNumber(quantity);
        // A pack serving no door (count 0) cannot be priced; the byte holds at most 255.
        if (count < 1 || count > 255)
            return;
        const std::vector<Article*>& list = catalog.articleList();
        const int32_t index = list.empty() ? 0 : list.back()->index + 1;
        auto kit = std::make_unique<RollerKit>(index, code, 0, name);
        kit->rollerType = type == "симметричный" ? 1 : type == "асимметричный" ? 2 : 0;
        kit->perSet = quantity[0] == '0' ? 1 : 0;
        kit->count = static_cast<uint8_t>(count);
        article = addArticle(std::move(kit));
    }

    const auto sameCode = [&code](const Article* a) { return a->code == code; };
    if (std::any_of(lists.systemArticles.begin(), lists.systemArticles.end(), sameCode))
        return;
    lists.systemArticles.push_back(article);
    if (!lists.selectedRollerKit) {
        auto found =
            std::find_if(lists.systemArticles.begin(), lists.systemArticles.end(), sameCode);
        // Only a roller kit can be the selected kit.
        if (found != lists.systemArticles.end())
            lists.selectedRollerKit = dynamic_cast<RollerKit*>(*found);
    }
}

} // namespace

bool DataFileReader::readWholeFile(const std::string& path, std::string& bytes) {
    bytes.clear();
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        return false;
    }
    bytes.reserve(static_cast<size_t>(info.st_size));
    char buffer[65536];
    bool ok = true;
    for (;;) {
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got == 0)
            break;
        if (got < 0) {
            if (errno == EINTR)
                continue;
            ok = false;
            break;
        }
        bytes.append(buffer, static_cast<size_t>(got));
    }
    ::close(fd);
    return ok;
}

DataFileReader::Result DataFileReader::readProfilePrices(Catalog& catalog, std::string_view bytes) {
    if (!csv_text::hasLineBreak(bytes))
        return Empty;
    const std::vector<Line> lines = csv_text::splitLines(bytes);
    const std::vector<int> columns = findColumns(lines[0], {"код", "коллекция", "цена"});
    if (std::find(columns.begin(), columns.end(), -1) != columns.end())
        return MissingColumn;

    const size_t limit = fieldLimit(columns);
    for (size_t i = 1; i < lines.size(); ++i) {
        const std::vector<Field> fields = csv_text::splitFields(lines[i], limit);
        const std::string code = csv_text::lowerStripped(fieldAt(fields, columns[0]));
        const std::string collection = csv_text::lowerStripped(fieldAt(fields, columns[1]));
        const csv_text::Decimal price =
            csv_text::decimalNumber(csv_text::lowerStripped(fieldAt(fields, columns[2])));
        // A price that does not fit the kopeck counter is no price at all.
        if (!price.positive() || !price.hundredthsFit())
            continue;
        const int32_t category =
            collection.empty() ? CategoryStandard : DataPaths::categoryFromWord(collection);
        if (category == CategoryNone)
            continue;

        Article* article = catalog.handleByCode(code);
        if (!article)
            article = catalog.splitterByCode(code);
        if (!article)
            article = catalog.articleByCode(code);
        if (!article)
            continue;
        // Exact decimal arithmetic: "1250,57" is 125057 kopecks, digits beyond the second
        // decimal are cut off.
        article->prices[static_cast<size_t>(category - 1)] = price.hundredths();
    }
    return Ok;
}

DataFileReader::Result DataFileReader::readColorCategories(Catalog& catalog,
                                                           std::string_view bytes) {
    if (!csv_text::hasLineBreak(bytes))
        return Empty;
    const std::vector<Line> lines = csv_text::splitLines(bytes);

    std::vector<std::string> wanted{"цвет"};
    for (int s = 0; s < Catalog::systemCount; ++s)
        wanted.push_back(text::toLower(Catalog::systemInfo(s).name));
    const std::vector<int> columns =
        findColumns(lines[0], std::vector<std::string_view>(wanted.begin(), wanted.end()));
    if (columns[0] < 0)
        return MissingColumn;
    if (std::all_of(columns.begin() + 1, columns.end(), [](int c) { return c < 0; }))
        return NoSystemColumn;

    const size_t limit = fieldLimit(columns);
    for (size_t i = 1; i < lines.size(); ++i) {
        if (!lines[i].terminated)
            break;
        const std::vector<Field> fields = csv_text::splitFields(lines[i], limit);
        ProfileColor* color =
            catalog.colorByName(csv_text::lowerStripped(fieldAt(fields, columns[0])));
        if (!color)
            continue;
        CategoryRow& row = catalog.categoryRow(color->index);
        for (int s = 0; s < Catalog::systemCount; ++s) {
            const int column = columns[static_cast<size_t>(s) + 1];
            if (column < 0)
                continue;
            const int32_t category =
                DataPaths::categoryFromWord(csv_text::lowerStripped(fieldAt(fields, column)));
            if (category != CategoryNone)
                row[static_cast<size_t>(s)] = category;
        }
    }
    return Ok;
}

DataFileReader::Result DataFileReader::readRollers(Catalog& catalog, std::string_view bytes) {
    if (!csv_text::hasLineBreak(bytes))
        return Empty;
    const std::vector<Line> lines = csv_text::splitLines(bytes);

    std::vector<std::string> systemNames;
    for (int s = 0; s < Catalog::systemCount; ++s)
        systemNames.push_back(text::toLower(Catalog::systemInfo(s).name));

    const auto addArticle = [&catalog](std::unique_ptr<Article> article) {
        return catalog.addArticle(std::move(article));
    };
    int block = -1;
    for (size_t i = 1; i < lines.size(); ++i) {
        const std::vector<Field> fields = csv_text::splitFields(lines[i], 4);
        // A block starts with the system's name; the name is lower-cased but not stripped.
        const std::string first = text::toLower(csv_text::toUtf8(fields[0].text));
        auto named = std::find(systemNames.begin(), systemNames.end(), first);
        if (named != systemNames.end()) {
            block = static_cast<int>(named - systemNames.begin());
            continue;
        }
        if (block < 0)
            continue;
        appendRollerKitLine(catalog, catalog.mutableSystemLists(block), fields, addArticle);
    }
    return Ok;
}

DataFileReader::Result DataFileReader::readMaterials(MaterialGroup& group, std::string_view bytes) {
    if (!csv_text::hasLineBreak(bytes))
        return Empty;
    const std::vector<Line> lines = csv_text::splitLines(bytes);
    enum { Code, Picture, Length, Width, Price, Name, Thickness };
    const std::vector<int> columns = findColumns(
        lines[0], {"код", "изображение", "длина", "ширина", "цена", "название", "толщина"});
    if (columns[Code] < 0 || columns[Picture] < 0 || columns[Price] < 0)
        return MissingColumn;

    const size_t limit = fieldLimit(columns);
    for (size_t i = 1; i < lines.size(); ++i) {
        if (!lines[i].terminated)
            break;
        const std::vector<Field> fields = csv_text::splitFields(lines[i], limit);
        const std::string_view codeField = fieldAt(fields, columns[Code]);
        const std::string_view pictureField = fieldAt(fields, columns[Picture]);
        if (codeField.empty() || pictureField.empty())
            continue;

        Material material;
        material.groupName = group.name;
        material.code = csv_text::toUtf8(codeField);
        material.name = csv_text::toUtf8(fieldAt(fields, columns[Name]));
        material.width =
            csv_text::wholeNumber(csv_text::lowerStripped(fieldAt(fields, columns[Width])));
        material.length =
            csv_text::wholeNumber(csv_text::lowerStripped(fieldAt(fields, columns[Length])));
        const csv_text::Decimal price =
            csv_text::decimalNumber(csv_text::lowerStripped(fieldAt(fields, columns[Price])));
        const csv_text::Decimal thickness =
            csv_text::decimalNumber(csv_text::lowerStripped(fieldAt(fields, columns[Thickness])));
        material.price = static_cast<int32_t>(
            std::clamp<int64_t>(int64_t{price.truncated()} * 100, INT32_MIN, INT32_MAX));
        material.thickness = static_cast<int32_t>(
            std::clamp<int64_t>(int64_t{thickness.truncated()} * 10, INT32_MIN, INT32_MAX));

        const std::string picture = csv_text::toUtf8(pictureField);
        std::string_view extension;
        if (picture.find('.') != std::string::npos) {
            if (!extensionOf(picture, extension) || !DataPaths::isPictureExtension(extension))
                continue;
            const std::string path = DataPaths::join(group.imagesFolder, toLocalPath(picture));
            if (!canOpenFile(path))
                continue;
            material.imagePath = path;
            material.fileName = picture;
            group.materials.push_back(std::move(material));
            continue;
        }

        const std::string folder = DataPaths::join(group.imagesFolder, toLocalPath(picture));
        material.fromFolder = true;
        material.folderName = picture;
        for (const fs::directory_entry& entry : sortedEntries(folder)) {
            const std::string fileName = entry.path().filename().string();
            if (!extensionOf(fileName, extension) || !DataPaths::isPictureExtension(extension))
                continue;
            const std::string path = DataPaths::join(folder, fileName);
            if (!canOpenFile(path))
                continue;
            Material one = material;
            one.imagePath = path;
            one.fileName = fileName;
            group.materials.push_back(std::move(one));
        }
    }
    return Ok;
}

void DataFileReader::scanMaterialsFolder(Catalog& catalog, const std::string& materialsFolder) {
    catalog.ownedGroups_.clear();
    catalog.materialGroups_.clear();
    for (const fs::directory_entry& entry : sortedEntries(materialsFolder)) {
        std::error_code error;
        if (!entry.is_directory(error))
            continue;
        const std::string folder = entry.path().string();
        const std::string images = DataPaths::join(folder, DataPaths::imagesFolder);
        const std::string priceFile = DataPaths::join(folder, DataPaths::materialPriceFile);
        if (!fs::exists(images, error) || !fs::is_regular_file(priceFile, error))
            continue;
        auto group = std::make_unique<MaterialGroup>();
        group->name = entry.path().filename().string();
        group->priceFile = priceFile;
        group->imagesFolder = images;
        readMaterialFile(*group, priceFile);
        catalog.addMaterialGroup(std::move(group));
    }
}

DataFileReader::Result DataFileReader::readProfilePriceFile(Catalog& catalog,
                                                            const std::string& path) {
    std::string bytes;
    if (!readWholeFile(path, bytes))
        return CannotOpen;
    return readProfilePrices(catalog, bytes);
}

DataFileReader::Result DataFileReader::readColorCategoryFile(Catalog& catalog,
                                                             const std::string& path) {
    std::string bytes;
    if (!readWholeFile(path, bytes))
        return CannotOpen;
    return readColorCategories(catalog, bytes);
}

DataFileReader::Result DataFileReader::readRollerFile(Catalog& catalog, const std::string& path) {
    std::string bytes;
    if (!readWholeFile(path, bytes))
        return CannotOpen;
    return readRollers(catalog, bytes);
}

DataFileReader::Result DataFileReader::readMaterialFile(MaterialGroup& group,
                                                        const std::string& path) {
    std::string bytes;
    if (!readWholeFile(path, bytes))
        return CannotOpen;
    return readMaterials(group, bytes);
}
