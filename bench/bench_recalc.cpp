// One full recalculation of a large Ловен project: ten doors, each with 30 rails and 31 filled
// inserts (geometry, numbering, bill of materials, element list).
#include "calc/SystemFactory.h"
#include "catalog/Catalog.h"
#include "model/Project.h"
#include "model/UndoHistory.h"
#include "text/Encoding.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <stdexcept>
#include <string>

namespace {

namespace fs = std::filesystem;

void writeFile(const fs::path& file, const std::string& bytes) {
    fs::create_directories(file.parent_path());
    std::ofstream out(file, std::ios::binary);
    out << bytes;
}

// A data folder with prices and two material groups, removed at the end.
struct DataFolder {
    fs::path path;
    DataFolder() {
        std::string pattern = (fs::temp_directory_path() / "tavbenchXXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr)
            throw std::runtime_error("cannot create a temporary folder");
        path = pattern;
        writeFile(path / "profiles/price.csv",
                  text::utf8ToCp1251("код;коллекция;цена\nKL001;;1000\nKL07;;300\nKL08;;250\n"
                                     "KL09;;150\nKL02;;120\nKL05;;110\nKL10/11B;;900\n"
                                     "KL13;;10\nKL14;;50\nKL17;;40\n"));
        const std::string header = "код;изображение;длина;ширина;цена;название;толщина\n";
        writeFile(path / "materials/Glass/price.csv",
                  text::utf8ToCp1251(header + "M4;mirror.jpg;2000;1000;2000;Зеркало;4\n"));
        writeFile(path / "materials/Glass/images/mirror.jpg", "picture");
        writeFile(path / "materials/Board/price.csv",
                  text::utf8ToCp1251(header + "D10;white.jpg;2800;2070;1500;ДСП белое;10\n"));
        writeFile(path / "materials/Board/images/white.jpg", "picture");
    }
    ~DataFolder() {
        std::error_code ec;
        fs::remove_all(path, ec);
    }
};

struct BigProject {
    DataFolder folder;
    std::unique_ptr<Catalog> catalog;
    std::unique_ptr<Project> project;

    BigProject() {
        catalog = std::make_unique<Catalog>(folder.path.string(), makeAllSystems);
        project = std::make_unique<Project>(*catalog);
        project->setOpeningWidth(100000);
        project->setDoorCount(10);
        const Material* mirror = catalog->materialGroupByName("Glass")->findByKey("mirror.jpg");
        const Material* board = catalog->materialGroupByName("Board")->findByKey("white.jpg");
        for (int i = 0; i < 10; ++i) {
            Door& d = project->doors->doors[i];
            for (int k = 1; k <= 30; ++k) {
                // The door drawn at scale 1 at the origin; split the lowest insert.
                d.rect = {0, 0, d.width, d.height};
                for (auto& [id, in] : d.inserts)
                    in.rect = {in.left, in.top, in.right, in.bottom};
                if (d.splitAtPoint({100, 600 * k}, project->splitterProfile, false, 1.0) == nullptr)
                    throw std::runtime_error("split refused");
            }
            int n = 0;
            for (auto& [id, in] : d.inserts)
                in.material = (n++ % 2 == 0) ? mirror : board;
        }
        project->recalculate(true);
        if (project->result.fillingPieces.size() != 310)
            throw std::runtime_error("unexpected project");
    }
};

BigProject& bigProject() {
    static BigProject p;
    return p;
}

void BM_RecalcAfterSketchEdit(benchmark::State& state) {
    Project& project = *bigProject().project;
    for (auto _ : state) {
        project.recalculate(true);
        benchmark::DoNotOptimize(project.result.elements.data());
    }
}
BENCHMARK(BM_RecalcAfterSketchEdit)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(10)
    ->ReportAggregatesOnly(true);

void BM_RecalcAfterSizeChange(benchmark::State& state) {
    Project& project = *bigProject().project;
    for (auto _ : state) {
        project.doors->resizeAllDoors = true;
        project.recalculate(false);
        benchmark::DoNotOptimize(project.result.elements.data());
    }
}
BENCHMARK(BM_RecalcAfterSizeChange)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(10)
    ->ReportAggregatesOnly(true);

// One undo or one redo of a splitter move on the large project: the project read back from the
// step's in-memory sketch file and recalculated.
void BM_UndoRedoStep(benchmark::State& state) {
    Project& project = *bigProject().project;
    UndoHistory history(project);
    Door& door = project.doors->doors[3];
    Splitter& s = door.splitters.begin()->second;
    // Every run of the benchmark moves the splitter the other way, so it never drifts off.
    static bool up = true;
    if (!door.moveSplitter(s, s.position + (up ? 100 : -100)))
        throw std::runtime_error("move refused");
    up = !up;
    project.doors->changed = true;
    project.recalculate(true);
    history.record();
    bool back = true;
    for (auto _ : state) {
        if (!(back ? history.undo() : history.redo()))
            state.SkipWithError("nothing to undo or redo");
        back = !back;
    }
    state.counters["snapshotBytes"] = static_cast<double>(history.bytesHeld());
}
BENCHMARK(BM_UndoRedoStep)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

} // namespace
