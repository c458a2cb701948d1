// Building the catalog from a data folder of 20 material groups with 100 pictures each, plus full
// profile price, colour category and roller files. Pictures are only checked, never decoded.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "calc/SystemFactory.h"
#include "catalog/Catalog.h"
#include "text/Encoding.h"

namespace fs = std::filesystem;

namespace {

void writeFile(const fs::path& path, const std::string& bytes) {
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << bytes;
}

// The generated folder lives as long as the benchmark program.
class DataFolder {
public:
    DataFolder() {
        std::string pattern = (fs::temp_directory_path() / "tavrolab-bench-XXXXXX").string();
        if (!::mkdtemp(pattern.data()))
            std::abort();
        path_ = pattern;
        Catalog codes(path_); // the built-in tables, to name every code in the price file
        std::string prices = "код;коллекция;цена\r\n";
        for (const Article* a : codes.handleTable())
            prices += a->code + ";;1250,50\r\n" + a->code + ";анод;1390,00\r\n";
        for (const Article* a : codes.splitterTable())
            prices += a->code + ";;310,00\r\n";
        for (const Article* a : codes.articleList())
            prices += a->code + ";;95,40\r\n";
        writeFile(path_ / "profiles/price.csv", text::utf8ToCp1251(prices));

        std::string colours =
            "цвет;Ловен;Стенвик;Дарсо;Кверт-Н;Тавро;Мелоза;Гартис;Фольм;Норсия\r\n";
        for (const ProfileColor* c : codes.colorTable())
            colours += c->code + ";анод;премиум;;;глянец;;;;хром\r\n";
        writeFile(path_ / "profiles/colors_price.csv", text::utf8ToCp1251(colours));
        writeFile(path_ / "profiles/rollers.csv",
                  text::utf8ToCp1251("система\r\nТавро\r\nTL99;Комплект;асимметричный;02\r\n"));

        const std::string picture(2048, 'p');
        for (int g = 0; g < 20; ++g) {
            const fs::path group = path_ / "materials" / ("Группа " + std::to_string(g));
            std::string rows = "код;изображение;название;длина;ширина;толщина;цена\r\n";
            for (int m = 0; m < 100; ++m) {
                const std::string name = "текстура_" + std::to_string(m) + ".jpg";
                writeFile(group / "images" / name, picture);
                rows += "М-" + std::to_string(m) + ";" + name + ";Материал " + std::to_string(m) +
                        ";2800;2070;16;1234,50\r\n";
            }
            writeFile(group / "price.csv", text::utf8ToCp1251(rows));
        }
    }
    ~DataFolder() {
        std::error_code error;
        fs::remove_all(path_, error);
    }
    std::string path() const { return path_.string(); }

private:
    fs::path path_;
};

void BM_CatalogBuild(benchmark::State& state) {
    static const DataFolder folder;
    size_t materials = 0;
    for (auto _ : state) {
        Catalog catalog(folder.path(), makeAllSystems);
        materials = 0;
        for (const MaterialGroup* group : catalog.materialGroups())
            materials += group->materials.size();
        benchmark::DoNotOptimize(materials);
    }
    if (materials != 2000)
        state.SkipWithError("the generated folder did not load completely");
    state.counters["materials"] = static_cast<double>(materials);
}

} // namespace

BENCHMARK(BM_CatalogBuild)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(10)
    ->ReportAggregatesOnly(true);
