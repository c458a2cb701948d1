#!/usr/bin/env python3
"""Writes the sample data folder shipped with tavrolab (data/): the profile price file, the colour
category file, the roller file, five material groups with their price files and small texture
pictures (ImageMagick's `convert`, which tools/setup.sh installs), and the config folder's logo
and order terms.

The text files are Windows-1251 with CR LF line ends, as a spreadsheet program on the seller's
computer writes them. Run it from anywhere; it rewrites data/ in place:

    python3 tools/make_sample_data.py
"""
import os
import shutil
import subprocess
import sys

ROOT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "data")


def write_cp1251(path, lines):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as f:
        f.write("".join(line + "\r\n" for line in lines).encode("cp1251"))


def convert(*args):
    if shutil.which("convert") is None:
        sys.exit("ImageMagick's convert is missing: run tools/setup.sh "
                 "(or apt-get install imagemagick)")
    subprocess.run(["convert", *args], check=True)


# --- profiles/price.csv: roubles per metre for profiles and goods sold by length, per piece or pack
# otherwise; extra rows give the prices of colour categories.
HANDLE_PRICES = {
    "KL01": 690, "KL100": 820, "KL200": 760, "KL300N": 940, "TL01": 310, "TL02": 280,
    "KS11": 520, "KS201": 610, "KS301": 700, "KI03": 450, "KQ01": 480, "KL001": 650,
    "KL220": 780, "KL11": 540, "KL150": 560, "KS12": 330, "KD01": 390, "KD02": 410,
    "KD03": 430, "KF02": 370, "KL120": 590, "KL130": 720, "KN01": 460,
}
SPLITTER_PRICES = {
    "TL08": 260, "TL09": 190, "TL13": 240, "KI05": 420, "KL09": 480, "KD09": 290,
    "KF03": 310, "KL91": 250, "KN09": 330,
}
ARTICLE_PRICES = {
    "KL02": 520, "KL03": 410, "KL04": 380, "KL05": 360, "KL06": 290, "KL07": 640, "KL08": 450,
    "KL10/11B": 1850, "KL010/011B": 1850, "KL13": 18.5, "KL14": 45, "KL16": 3400, "KL17": 22,
    "KS14": 430, "W1406": 1450, "KS15": 95, "KQ02": 470, "KQ03": 350, "KQ04/05": 1250,
    "KSA": 2100, "TL03": 300, "TL04": 270, "TL05": 260, "TL06": 140, "TL07": 190,
    "TL10NEW": 310, "TL11": 60, "TL12": 1600, "TL12-1": 2250, "KI01": 380, "KI02": 520,
    "KI04": 410, "KI06": 340, "KI07": 290, "KIR2": 1750, "KIR3": 2450, "KI10": 25,
    "KG01": 1150, "KG02": 980, "KG03": 620, "KG04": 560, "KG05": 690, "KG06": 12.4,
    "KG07": 240, "KG08": 130, "KG09": 130, "KG10": 150, "KG11": 35, "KG12/KG13": 28,
    "KG14": 75, "KG15": 75, "KG16": 95, "ME01": 610, "ME02": 240, "ME03": 1950, "ME04": 210,
    "ME05": 85, "ME06": 40, "ME09": 120, "ME10": 480, "ME-SHL": 14, "ME-SHL-1": 6.5,
    "KD07": 390, "KD08": 350, "KD10": 24, "KF01": 420, "KF04": 160, "KF05": 330, "KF06": 30,
    "KF07": 180, "KFR01": 2600, "KFR02": 3200, "KFR03": 1400, "KN02": 470, "KN03": 260,
    "KN06": 150, "KN07": 210, "KN99": 230, "KN17": 28, "KNR01": 2300,
}
CATEGORY_PRICES = [
    ("KL01", "анод", 760), ("KL01", "премиум", 820), ("KL01", "глянец", 880),
    ("KL001", "базовый", 610), ("KL001", "анод", 720),
    ("KL200", "анод", 840), ("KL200", "глянец", 950), ("KL200", "хром", 990),
    ("KL300N", "премиум", 1080), ("KL300N", "глянец", 1120), ("KL100", "анод", 880),
    ("KL11", "акция", 490), ("KL130", "новинка", 790), ("KL130", "премиум", 810),
    ("TL01", "хром", 360), ("TL01", "глянец", 350), ("TL02", "хром", 330),
    ("KS11", "анод", 590), ("KS12", "акция", 299.9),
    ("KD01", "премиум", 450), ("KD01", "анод", 430), ("KD02", "премиум", 470),
    ("KL02", "анод", 560), ("KL07", "анод", 690), ("KL08", "анод", 490),
]


def money(value):
    return f"{value:.2f}".replace(".", ",")


def write_prices():
    lines = ["код;коллекция;цена"]
    for table in (HANDLE_PRICES, SPLITTER_PRICES, ARTICLE_PRICES):
        for code, price in table.items():
            lines.append(f"{code};;{money(price)}")
    for code, category, price in CATEGORY_PRICES:
        lines.append(f"{code};{category};{money(price)}")
    write_cp1251(os.path.join(ROOT, "profiles", "price.csv"), lines)


SYSTEMS = ["Ловен", "Стенвик", "Дарсо", "Кверт-Н", "Тавро", "Мелоза", "Гартис", "Фольм", "Норсия"]
COLOUR_CATEGORIES = {
    "Хром матовый (анод)": {"Ловен": "анод", "Стенвик": "анод", "Мелоза": "анод"},
    "Золото матовое (анод)": {"Ловен": "анод", "Мелоза": "премиум"},
    "Шампань матовая (анод)": {"Ловен": "анод"},
    "Бронза матовая (анод)": {"Ловен": "анод"},
    "Хром глянец": {"Ловен": "хром", "Тавро": "хром"},
    "Белый глянец": {"Ловен": "глянец", "Мелоза": "глянец", "Тавро": "глянец"},
    "Венге темный глянец": {"Ловен": "глянец"},
    "Софт тач черный": {"Ловен": "премиум", "Мелоза": "премиум", "Дарсо": "премиум"},
    "Софт тач белый": {"Ловен": "премиум", "Дарсо": "премиум", "Мелоза": "премиум"},
    "Черный матовый (анод)": {"Дарсо": "анод"},
    "Серебряный дождь": {"Стенвик": "акция", "Ловен": "акция"},
    "Лиственница белая": {"Ловен": "новинка"},
    "Береза структурная": {"Ловен": "базовый"},
}


def write_colour_categories():
    lines = ["цвет;" + ";".join(SYSTEMS)]
    for colour, cells in COLOUR_CATEGORIES.items():
        lines.append(colour + ";" + ";".join(cells.get(s, "") for s in SYSTEMS))
    write_cp1251(os.path.join(ROOT, "profiles", "colors_price.csv"), lines)


def write_rollers():
    # Blocks without kit lines: every system keeps its built-in kits.
    lines = ["Система;Код;Название;Тип;Количество"] + SYSTEMS
    write_cp1251(os.path.join(ROOT, "profiles", "rollers.csv"), lines)


# --- materials: (code, picture, name, length, width, thickness mm, price roubles per m²)
def wood(colour, seed):
    return ["-size", "128x128", "-seed", str(seed), f"xc:{colour}", "+noise", "Gaussian",
            "-virtual-pixel", "tile", "-motion-blur", "0x12+0", "-blur", "0x0.6"]


def sheen(top, bottom):
    # A diagonal gradient: drawn larger, turned and cut back to the square.
    return ["-size", "182x182", f"gradient:{top}-{bottom}", "-rotate", "35", "+repage",
            "-gravity", "center", "-crop", "128x128+0+0", "+repage"]


def lighter(colour, amount=24):
    rgb = [min(255, int(colour[i:i + 2], 16) + amount) for i in (1, 3, 5)]
    return "#" + "".join(f"{c:02x}" for c in rgb)


def plain(colour, seed):
    # A painted or matt surface: its colour with a faint sheen (seed kept for a stable recipe).
    del seed
    return sheen(lighter(colour), colour)


def photo(seed, colours):
    return ["-size", "128x128", "-seed", str(seed), f"plasma:{colours}", "-blur", "0x1"]


GROUPS = {
    "ДСП": [
        ("ДСП-01", "дуб_сонома.jpg", "Дуб сонома", 2800, 2070, 16, 520, wood("#c9a97e", 1)),
        ("ДСП-02", "венге.jpg", "Венге", 2800, 2070, 16, 540, wood("#4a3326", 2)),
        ("ДСП-03", "белый.png", "Белый", 2800, 2070, 16, 480, plain("#f2f2ef", 3)),
        ("ДСП-04", "орех.jpg", "Орех итальянский", 2800, 2070, 16, 560, wood("#8a5a36", 4)),
        ("ДСП-05", "ясень_шимо.jpg", "Ясень шимо светлый", 2800, 2070, 16, 550,
         wood("#d8c6a8", 5)),
        ("ДСП-06", "графит.png", "Серый графит", 2800, 2070, 16, 590, plain("#55585c", 6)),
        ("ДСП-07", "бук.jpg", "Бук (10 мм)", 2800, 2070, 10, 610, wood("#d9a877", 7)),
        ("ДСП-08", "белый_10.png", "Белый (10 мм)", 2800, 2070, 10, 600, plain("#f5f5f2", 8)),
    ],
    "Зеркало": [
        ("ЗР-01", "serebro.jpg", "Зеркало серебро", 2550, 1605, 4, 1450,
         sheen("#f4f7f8", "#a9b3b8")),
        ("ЗР-02", "bronza.jpg", "Зеркало бронза", 2550, 1605, 4, 2350,
         sheen("#d9b98f", "#8d6a45")),
        ("ЗР-03", "grafit.jpg", "Зеркало графит", 2550, 1605, 4, 2400,
         sheen("#9aa0a4", "#3c4145")),
        ("ЗР-04", "serebro_mat.png", "Зеркало серебро матовое", 2550, 1605, 4, 1950,
         plain("#cfd5d8", 9)),
        ("ЗР-05", "rozovoe.jpg", "Зеркало розовое", 2550, 1605, 4, 2600,
         sheen("#f3d6d6", "#b88d8d")),
        ("ЗР-06", "zoloto.jpg", "Зеркало золото", 2550, 1605, 4, 2550,
         sheen("#f0dc9c", "#a88b3e")),
    ],
    "Стекло": [
        ("СТ-01", "prozrachnoe.png", "Стекло прозрачное 4 мм", 3210, 2250, 4, 980,
         sheen("#e8f3f5", "#bcd7dc")),
        ("СТ-02", "matovoe.png", "Стекло матовое 4 мм", 3210, 2250, 4, 1250, plain("#e3ecee", 10)),
        ("СТ-03", "bronza_ton.jpg", "Стекло тонированное бронза 4 мм", 3210, 2250, 4, 1480,
         sheen("#c8ab86", "#8c7152")),
        ("СТ-04", "grafit_ton.jpg", "Стекло тонированное графит 4 мм", 3210, 2250, 4, 1520,
         sheen("#8f979b", "#4b5256")),
        ("СТ-05", "prozrachnoe_8.png", "Стекло прозрачное 8 мм", 3210, 2250, 8, 2100,
         sheen("#dcedf0", "#a9cad0")),
        ("СТ-06", "matovoe_8.png", "Стекло матовое 8 мм", 3210, 2250, 8, 2450, plain("#d9e5e8", 11)),
        ("СТ-07", "prozrachnoe_10.png", "Стекло прозрачное 10 мм", 3210, 2250, 10, 2700,
         sheen("#d2e8ec", "#9cc1c8")),
        ("СТ-08", "matovoe_10.png", "Стекло матовое 10 мм", 3210, 2250, 10, 3050,
         plain("#d0dfe2", 12)),
    ],
    "Лакобель": [
        ("ЛК-01", "lak_belyj.png", "Лакобель белый", 3210, 2250, 4, 2650, plain("#f7f5ef", 13)),
        ("ЛК-02", "lak_chernyj.png", "Лакобель черный", 3210, 2250, 4, 2650, plain("#1c1c1e", 14)),
        ("ЛК-03", "lak_bezhevyj.png", "Лакобель бежевый", 3210, 2250, 4, 2700,
         plain("#e4d3b4", 15)),
        ("ЛК-04", "lak_krasnyj.png", "Лакобель красный", 3210, 2250, 4, 2950,
         plain("#a3202a", 16)),
        ("ЛК-05", "lak_seryj.png", "Лакобель серый", 3210, 2250, 4, 2700, plain("#8b8d8f", 17)),
        ("ЛК-06", "lak_goluboj.png", "Лакобель голубой", 3210, 2250, 4, 3100,
         plain("#8fb8d6", 18)),
    ],
}

# A row that names a folder: every picture in it is one material with the row's data.
PHOTO_FOLDER = "фото"
PHOTO_PICTURES = [
    ("город.jpg", photo(21, "grey60-steelblue")),
    ("лес.jpg", photo(22, "darkgreen-olivedrab")),
    ("море.jpg", photo(23, "navy-skyblue")),
    ("горы.jpg", photo(24, "slategray-white")),
    ("цветы.jpg", photo(25, "hotpink-gold")),
    ("абстракция.png", photo(26, "purple-orange") + ["-blur", "0x3"]),
]
PHOTO_ROWS = [
    ("ФП-01", PHOTO_FOLDER, "Фотопечать на стекле", 3210, 2250, 4, 3900),
    ("ФП-02", "сакура.jpg", "Фотопечать Сакура", 3210, 2250, 4, 4200),
]
SAKURA = photo(27, "pink-white")

MATERIAL_HEADER = "код;изображение;название;длина;ширина;толщина;цена"


def picture(path, recipe):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    options = ["-quality", "70"] if path.endswith(".jpg") else ["+dither", "-colors", "24"]
    convert(*recipe, "-strip", *options, path)


def material_row(code, pict, name, length, width, thickness, price):
    return f"{code};{pict};{name};{length};{width};{thickness};{money(price)}"


def write_materials():
    base = os.path.join(ROOT, "materials")
    for group, rows in GROUPS.items():
        images = os.path.join(base, group, "images")
        lines = [MATERIAL_HEADER]
        for code, pict, name, length, width, thickness, price, recipe in rows:
            picture(os.path.join(images, pict), recipe)
            lines.append(material_row(code, pict, name, length, width, thickness, price))
        write_cp1251(os.path.join(base, group, "price.csv"), lines)

    images = os.path.join(base, "Фотопечать", "images")
    for name, recipe in PHOTO_PICTURES:
        picture(os.path.join(images, PHOTO_FOLDER, name), recipe)
    picture(os.path.join(images, "сакура.jpg"), SAKURA)
    write_cp1251(os.path.join(base, "Фотопечать", "price.csv"),
                 [MATERIAL_HEADER] + [material_row(*row) for row in PHOTO_ROWS])


INFO = [
    "Условия заказа",
    "1. Заказ принимается в работу после внесения предоплаты в размере 70 % от суммы заказа.",
    "2. Срок изготовления - до 10 рабочих дней со дня внесения предоплаты.",
    "3. Заказчик проверяет размеры, материалы и цвет профиля в эскизе и подтверждает их подписью.",
    "   После подписи изменения в заказ не вносятся.",
    "4. Доставка и сборка оплачиваются отдельно, по ценам, указанным в заказе.",
    "5. Гарантия на профиль и фурнитуру - 2 года, на ролики - 1 год.",
    "6. Оставшаяся сумма оплачивается при получении изделия.",
]


def write_config():
    config = os.path.join(ROOT, "config")
    os.makedirs(config, exist_ok=True)
    # A letterhead: printing scales the logo to the width of the page, so a wide strip keeps the
    # order page free for the table, the sketch and the conditions.
    convert("-size", "1600x180", "xc:white", "-fill", "#2f4f6f", "-draw", "rectangle 10,14 162,166",
            "-fill", "white", "-draw", "rectangle 44,36 128,144", "-fill", "#2f4f6f",
            "-font", "Liberation-Sans-Bold", "-pointsize", "84", "-annotate", "+196+118",
            "ТАВРОЛАБ", "-fill", "#6b7b8b", "-font", "Liberation-Sans", "-pointsize", "34",
            "-gravity", "NorthEast", "-annotate", "+12+40", "Раздвижные двери и шкафы-купе",
            "-annotate", "+12+92", "тел. +7 (4822) 00-00-00",
            "-gravity", "NorthWest", "-stroke", "#2f4f6f", "-strokewidth", "3",
            "-draw", "line 196,160 1588,160", "-strip", "-quality", "90",
            os.path.join(config, "logo.jpg"))
    write_cp1251(os.path.join(config, "info.txt"), INFO)


def main():
    write_prices()
    write_colour_categories()
    write_rollers()
    write_materials()
    write_config()
    return 0


if __name__ == "__main__":
    sys.exit(main())
