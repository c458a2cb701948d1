// The materials folder: groups, material price files and picture folders.
#include <gtest/gtest.h>

#include <memory>

#include "catalog/Catalog.h"
#include "catalog/DataFileReader.h"
#include "support/TempFolder.h"
#include "text/Encoding.h"

namespace {

const std::string materialHeader = "код;изображение;длина;ширина;цена;название;толщина\n";

// A group folder with the given price file text (UTF-8, stored as Windows-1251) and pictures.
void makeGroup(const TempFolder& folder, const std::string& group, const std::string& prices,
               const std::vector<std::string>& pictures) {
    folder.makeFolder("materials/" + group + "/images");
    folder.writeCp1251("materials/" + group + "/price.csv", prices);
    for (const std::string& picture : pictures)
        folder.writeBytes("materials/" + group + "/images/" + picture, "picture");
}

} // namespace

TEST(MaterialFile, OneMaterialPerRowWithItsNumbers) {
    TempFolder folder;
    makeGroup(folder, "Стекло", materialHeader + "G1;дуб.jpg;2800;2070;1234,99;Дуб;4,5\r\n",
              {"дуб.jpg"});
    Catalog catalog(folder.path());
    const MaterialGroup* group = catalog.materialGroupByName("Стекло");
    ASSERT_NE(group, nullptr);
    EXPECT_EQ(group->priceFile, folder.pathOf("materials/Стекло/price.csv"));
    EXPECT_EQ(group->imagesFolder, folder.pathOf("materials/Стекло/images"));
    ASSERT_EQ(group->materials.size(), 1u);
    const Material& m = group->materials[0];
    EXPECT_EQ(m.groupName, "Стекло");
    EXPECT_EQ(m.code, "G1");
    EXPECT_EQ(m.name, "Дуб");
    EXPECT_EQ(m.imagePath, folder.pathOf("materials/Стекло/images/дуб.jpg"));
    EXPECT_EQ(m.length, 2800);
    EXPECT_EQ(m.width, 2070);
    EXPECT_EQ(m.price, 123400);
    EXPECT_EQ(m.thickness, 40);
    EXPECT_FALSE(m.fromFolder);
    EXPECT_EQ(m.pictureKey(), "дуб.jpg");
    EXPECT_EQ(group->findByKey("дуб.jpg"), &m);
    EXPECT_EQ(group->findByKey("Дуб.jpg"), nullptr);
    EXPECT_EQ(catalog.materialGroupByName("стекло"), nullptr);
}

TEST(MaterialFile, PicturesMustExistWithALowerCaseExtension) {
    TempFolder folder;
    makeGroup(folder, "g",
              materialHeader + "A;Дуб.JPG;1;1;1;;1\n" // extension compared in lower case only
                               "B;нет.jpg;1;1;1;;1\n" // no such file
                               "C;.jpg;1;1;1;;1\n"    // the dot is the first character
                               "D;a.gif;1;1;1;;1\n"   // not a picture extension
                               ";a.png;1;1;1;;1\n"    // no code
                               "E;;1;1;1;;1\n"        // no picture
                               "F;a.png;1;1;1;;1\n"
                               "G;b.bmp;1;1;1;;1\n"
                               "H;sub.jpg;1;1;1;;1\n", // a folder, not a file
              {"Дуб.JPG", ".jpg", "a.gif", "a.png", "b.bmp"});
    folder.makeFolder("materials/g/images/sub.jpg");
    Catalog catalog(folder.path());
    const MaterialGroup* group = catalog.materialGroupByName("g");
    ASSERT_NE(group, nullptr);
    ASSERT_EQ(group->materials.size(), 2u);
    EXPECT_EQ(group->materials[0].code, "F");
    EXPECT_EQ(group->materials[1].code, "G");
}

TEST(MaterialFile, AFolderOfPicturesGivesOneMaterialPerPicture) {
    TempFolder folder;
    makeGroup(folder, "Фотопечать", materialHeader + "P1;фото;2800;1200;2500;Фото;4\n",
              {"фото/город.jpg", "фото/лес.png", "фото/readme.txt", "фото/.png", "фото/море.PNG"});
    folder.makeFolder("materials/Фотопечать/images/фото/вложенная.jpg");
    Catalog catalog(folder.path());
    const MaterialGroup* group = catalog.materialGroupByName("Фотопечать");
    ASSERT_NE(group, nullptr);
    ASSERT_EQ(group->materials.size(), 2u);
    std::vector<std::string> keys;
    for (const Material& m : group->materials) {
        EXPECT_TRUE(m.fromFolder);
        EXPECT_EQ(m.code, "P1");
        EXPECT_EQ(m.price, 250000);
        EXPECT_EQ(m.thickness, 40);
        keys.push_back(m.pictureKey());
    }
    EXPECT_EQ(keys, (std::vector<std::string>{"фото\\город.jpg", "фото\\лес.png"}));
    EXPECT_EQ(group->materials[1].imagePath,
              folder.pathOf("materials/Фотопечать/images/фото/лес.png"));
    const Material* found = group->findByKey("фото\\лес.png");
    EXPECT_EQ(found, &group->materials[1]);
    EXPECT_EQ(group->findByKey("фото/лес.png"), nullptr);
    EXPECT_EQ(group->findByKey("лес.png"), nullptr);
}

TEST(MaterialFile, AFolderWithoutPicturesGivesNothing) {
    TempFolder folder;
    makeGroup(folder, "g", materialHeader + "P1;пусто;1;1;1;;1\nP2;нет;1;1;1;;1\n", {});
    folder.makeFolder("materials/g/images/пусто");
    Catalog catalog(folder.path());
    EXPECT_TRUE(catalog.materialGroupByName("g")->materials.empty());
}

TEST(MaterialFile, HeaderColumnsAndTheLastRow) {
    TempFolder folder;
    // Any column order, case and spaces; optional columns may be missing; the unterminated last
    // row is lost.
    makeGroup(folder, "a", " Цена ;ИЗОБРАЖЕНИЕ;Код\n100;x.jpg;A1\n200;x.jpg;A2", {"x.jpg"});
    makeGroup(folder, "b", "код;изображение;название\nB1;x.jpg;Без цены\n", {"x.jpg"});
    Catalog catalog(folder.path());
    const MaterialGroup* a = catalog.materialGroupByName("a");
    ASSERT_EQ(a->materials.size(), 1u);
    EXPECT_EQ(a->materials[0].price, 10000);
    EXPECT_EQ(a->materials[0].width, 0);
    EXPECT_EQ(a->materials[0].thickness, 0);
    EXPECT_TRUE(a->materials[0].name.empty());
    // Missing "цена": the group exists but has no materials.
    ASSERT_NE(catalog.materialGroupByName("b"), nullptr);
    EXPECT_TRUE(catalog.materialGroupByName("b")->materials.empty());

    MaterialGroup group;
    group.imagesFolder = folder.pathOf("materials/a/images");
    EXPECT_EQ(DataFileReader::readMaterials(group, text::utf8ToCp1251("код;изображение\n")),
              DataFileReader::MissingColumn);
    EXPECT_EQ(DataFileReader::readMaterials(group, "abc"), DataFileReader::Empty);
    EXPECT_EQ(DataFileReader::readMaterialFile(group, folder.pathOf("nothing.csv")),
              DataFileReader::CannotOpen);
}

TEST(MaterialFile, CodesAndNamesAreKeptAsWritten) {
    TempFolder folder;
    makeGroup(folder, "g", materialHeader + " К-1 ;x.png; 10 ;20;30;  Имя с пробелами ;16\n",
              {"x.png"});
    Catalog catalog(folder.path());
    const Material& m = catalog.materialGroupByName("g")->materials.at(0);
    EXPECT_EQ(m.code, " К-1 ");
    EXPECT_EQ(m.name, "  Имя с пробелами ");
    EXPECT_EQ(m.length, 10);
    EXPECT_EQ(m.thickness, 160);
}

TEST(MaterialFile, WindowsSubfolderPathsOpenOnThisPlatform) {
    TempFolder folder;
    makeGroup(folder, "g", materialHeader + "S1;кожа\\тёмная.jpg;1;1;1;;1\n", {"кожа/тёмная.jpg"});
    Catalog catalog(folder.path());
    const MaterialGroup* group = catalog.materialGroupByName("g");
    ASSERT_EQ(group->materials.size(), 1u);
    EXPECT_EQ(group->materials[0].pictureKey(), "кожа\\тёмная.jpg");
    EXPECT_EQ(group->materials[0].imagePath, folder.pathOf("materials/g/images/кожа/тёмная.jpg"));
}

TEST(MaterialsFolder, OnlySubfoldersWithImagesAndPriceFileAreGroups) {
    TempFolder folder;
    makeGroup(folder, "Зеркало", materialHeader, {});
    makeGroup(folder, "ДСП", materialHeader, {});
    folder.makeFolder("materials/БезЦен/images");
    folder.writeCp1251("materials/БезКартинок/price.csv", materialHeader);
    folder.writeCp1251("materials/файл.csv", materialHeader);
    folder.makeFolder("materials/КаталогЦен/images");
    folder.makeFolder("materials/КаталогЦен/price.csv");
    Catalog catalog(folder.path());
    EXPECT_EQ(catalog.materialGroupNames(), (std::vector<std::string>{"ДСП", "Зеркало"}));
    EXPECT_EQ(catalog.materialGroupByName("БезЦен"), nullptr);
    EXPECT_EQ(catalog.materialGroupByName("БезКартинок"), nullptr);
}
