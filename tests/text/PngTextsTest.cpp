// PNG text chunks read without the image: every way of writing a text, and inputs made to hurt
// (a compressed text that claims gigabytes, a damaged stream, a chunk cut short, no PNG at all).
#include "text/PngTexts.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <sstream>

namespace {

std::string be32(uint32_t v) {
    return {static_cast<char>(v >> 24), static_cast<char>(v >> 16), static_cast<char>(v >> 8),
            static_cast<char>(v)};
}

std::string chunk(const std::string& type, const std::string& data) {
    return be32(static_cast<uint32_t>(data.size())) + type + data + be32(0); // CRC not checked
}

std::string deflated(const std::string& text) {
    uLongf size = compressBound(text.size());
    std::string out(size, '\0');
    compress(reinterpret_cast<Bytef*>(out.data()), &size,
             reinterpret_cast<const Bytef*>(text.data()), text.size());
    out.resize(size);
    return out;
}

const std::string kSignature("\x89PNG\r\n\x1a\n", 8);
const std::string kZero(1, '\0');

std::map<std::string, std::string> texts(const std::string& bytes) {
    std::istringstream in(bytes);
    return pngtexts::read(in);
}

} // namespace

TEST(PngTexts, EveryWayOfWritingATextIsReadAndWhatHurtsIsLeftOut) {
    const std::string uri = "file:///home/shop/%D0%B4%D1%83%D0%B1.jpg";
    const std::string bomb(16 * 1024 * 1024, 'a'); // 16 MB that pack into a few kilobytes
    const std::string png =
        kSignature + chunk("IHDR", std::string(13, '\1')) +
        chunk("tEXt", "Thumb::URI" + kZero + uri) +
        chunk("zTXt", "Thumb::MTime" + kZero + kZero + deflated("1765000000")) +
        chunk("iTXt", "Software" + kZero + kZero + kZero + "ru" + kZero + kZero + "редактор") +
        chunk("iTXt", "Title" + kZero + "\1" + kZero + kZero + kZero + deflated("Дуб")) +
        chunk("zTXt", "Bomb" + kZero + kZero + deflated(bomb)) +
        chunk("zTXt", "Broken" + kZero + kZero + deflated("текст").substr(0, 5)) +
        chunk("tEXt", kZero + "no key") + chunk("IDAT", "xx") +
        chunk("tEXt", "After" + kZero + "the image");
    const std::map<std::string, std::string> got = texts(png);
    const std::map<std::string, std::string> expected = {{"Thumb::URI", uri},
                                                         {"Thumb::MTime", "1765000000"},
                                                         {"Software", "редактор"},
                                                         {"Title", "Дуб"}};
    EXPECT_EQ(got, expected);
    // Whatever unpacks within the limit is kept, one byte more is not.
    std::string out;
    EXPECT_TRUE(pngtexts::inflate(deflated(std::string(100, 'x')), 100, out));
    EXPECT_EQ(out.size(), 100u);
    EXPECT_FALSE(pngtexts::inflate(deflated(std::string(101, 'x')), 100, out));
    EXPECT_TRUE(out.empty());

    EXPECT_TRUE(texts("GIF89a").empty());
    // A file cut inside a chunk keeps the texts before it.
    const std::size_t uriEnd = 8 + 25 + 12 + std::string("Thumb::URI").size() + 1 + uri.size();
    EXPECT_TRUE(texts(png.substr(0, uriEnd - 1)).empty());
    EXPECT_EQ(texts(png.substr(0, uriEnd + 3)).size(), 1u);
}
