// Pixmaps and images, loaded and measured with no GL context.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <utility>

#include "platform/files.h"
#include "platform/font.h"
#include "platform/image.h"
#include "support/testsupport.h"

namespace {

using platform::Color;
using platform::Image;
using platform::Pixmap;

void WriteFile(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

TEST(Pixmap, PixelsReadAndWrittenAsArgbWithBoundsChecked) {
    Pixmap pixmap(3, 2);
    EXPECT_EQ(pixmap.GetPixelARGB(2, 1), 0u);  // starts transparent black
    pixmap.SetPixelARGB(2, 1, 0x80ff4020);
    EXPECT_EQ(pixmap.GetPixelARGB(2, 1), 0x80ff4020u);
    EXPECT_EQ(pixmap.Data()[(1 * 3 + 2) * 4 + 0], 0xff);  // stored as RGBA
    EXPECT_EQ(pixmap.Data()[(1 * 3 + 2) * 4 + 3], 0x80);
    for (auto [x, y] : {std::pair{-1, 0}, {3, 0}, {0, -1}, {0, 2}}) {
        pixmap.SetPixelARGB(x, y, 0xffffffff);
        EXPECT_EQ(pixmap.GetPixelARGB(x, y), 0u);
    }
    pixmap.SetPixel(0, 0, {1, 0.5f, 0, 1});
    EXPECT_EQ(pixmap.GetPixelARGB(0, 0), 0xffff8000u);
    pixmap.Clear({0, 0, 1, 0.5f});
    EXPECT_EQ(pixmap.GetPixelARGB(1, 1), 0x800000ffu);
    pixmap.Discard();
    EXPECT_EQ(pixmap.Width(), 0);
    EXPECT_EQ(pixmap.GetPixelARGB(0, 0), 0u);
}

TEST(Pixmap, SavedPngLoadsBackWithStraightAlpha) {
    const std::string path = testsupport::TempDir() + "saved.png";
    Pixmap pixmap(5, 3);
    pixmap.SetPixelARGB(0, 0, 0xffff0000);
    pixmap.SetPixelARGB(4, 2, 0x40123456);
    ASSERT_TRUE(pixmap.Save(path));
    auto loaded = Pixmap::Load(path);
    ASSERT_TRUE(loaded);
    EXPECT_EQ(loaded->Width(), 5);
    EXPECT_EQ(loaded->Height(), 3);
    EXPECT_EQ(loaded->GetPixelARGB(0, 0), 0xffff0000u);
    EXPECT_EQ(loaded->GetPixelARGB(4, 2), 0x40123456u);
    EXPECT_EQ(loaded->GetPixelARGB(1, 1), 0u);
    EXPECT_FALSE(pixmap.Save(testsupport::TempDir() + "no/such/folder/x.png"));
}

TEST(Image, MissingOrCorruptFilesGiveNull) {
    const std::string dir = testsupport::TempDir();
    WriteFile(dir + "text.png", "this is not an image");
    WriteFile(dir + "empty.png", "");
    WriteFile(dir + "truncated.png", std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16));
    // A headerless format's header of 4000 x 4000 pixels in 18 bytes: read
    // on, it would fill 64 MB pixel by pixel.
    WriteFile(dir + "headerless.png",
              std::string("\0\0\x02\0\0\0\0\0\0\0\0\0\xa0\x0f\xa0\x0f\x18\0", 18));
    // PNG headers of 20000 x 20000 (beyond a texture) and 5000 x 5000 pixels.
    const auto png = [](const std::string& size) {
        return std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16) + size + std::string("\x08\x06\0\0\0\0\0\0\0", 9);
    };
    WriteFile(dir + "huge.png", png(std::string("\0\0\x4e\x20\0\0\x4e\x20", 8)));
    WriteFile(dir + "wide.png", png(std::string("\0\0\x13\x88\0\0\x13\x88", 8)));
    // A 48 x 10 PNG whose compressed data, read on past its end as zeros,
    // would grow its output to gigabytes.
    const std::string endless = std::string(std::getenv("ZANDROVIA_TEST_DATA")) + "/endless-zlib.png";
    for (const std::string& path : {dir + "missing.png", dir + "text.png", dir + "empty.png", dir + "truncated.png",
                                    dir + "headerless.png", dir + "huge.png", dir + "wide.png", dir, endless}) {
        SCOPED_TRACE(path);
        EXPECT_FALSE(Pixmap::Load(path));
        EXPECT_FALSE(Image::Load(path));
        EXPECT_FALSE(Image::LoadLight(path));
        EXPECT_FALSE(Image::LoadBump(path, "", "", 1, false));
    }
}

// Pictures that need the decoder's largest buffers still fit the budget a
// load gives it (tests/tools/pngfixtures.py wrote them).
TEST(Pixmap, SixteenBitInterlacedAndPalettedPngsDecode) {
    const std::string data = std::string(std::getenv("ZANDROVIA_TEST_DATA")) + "/";
    const struct {
        const char* file;
        int width, height;
        bool paletted;  // every pixel has its row's colour of column 0, opaque
    } cases[] = {
        {"rgba16.png", 640, 480, false},
        {"rgba16-interlaced.png", 640, 480, false},
        {"paletted.png", 37, 23, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        const auto pixmap = Pixmap::Load(data + c.file);
        ASSERT_TRUE(pixmap);
        ASSERT_EQ(pixmap->Width(), c.width);
        ASSERT_EQ(pixmap->Height(), c.height);
        for (const auto& [x, y] : {std::pair{0, 0}, {36, 22}, {5, 9}, {c.width - 1, c.height - 1}, {c.width / 2, 7}}) {
            const int column = c.paletted ? 0 : x;
            const std::uint32_t alpha = c.paletted ? 255 : std::uint32_t(255 - x - y) % 256;
            const std::uint32_t expected = alpha << 24 | std::uint32_t(column * 5 % 256) << 16 |
                                           std::uint32_t(y * 7 % 256) << 8 | 200;
            EXPECT_EQ(pixmap->GetPixelARGB(x, y), expected) << x << ", " << y;
        }
    }
}

TEST(Image, LoadedAndMeasuredWithoutUploading) {
    const std::string dir = testsupport::TempDir();
    Pixmap pixmap(12, 7);
    ASSERT_TRUE(pixmap.Save(dir + "image.png"));
    auto image = Image::Load(dir + "image.png");
    ASSERT_TRUE(image);
    EXPECT_EQ(image->Width(), 12);
    EXPECT_EQ(image->Height(), 7);
    EXPECT_EQ(image->Rect(), platform::Recti(0, 0, 12, 7));
    EXPECT_EQ(image->GetTexture()->Flags(), platform::TextureFlags::FilterMipmap);
    EXPECT_FALSE(image->GetTexture()->Uploaded());
    EXPECT_FALSE(image->GetTexture()->IsRenderTarget());

    auto light = Image::LoadLight(dir + "image.png");
    ASSERT_TRUE(light);
    EXPECT_EQ(light->GetShader(), platform::Shader::GetShader("light"));
}

TEST(Image, SubImagesShareTheTextureAndStayInsideTheirParent) {
    Image image(std::make_shared<Pixmap>(16, 16));
    Image inner(image, {4, 4, 12, 12});
    EXPECT_EQ(inner.GetTexture(), image.GetTexture());
    EXPECT_EQ(inner.Rect(), platform::Recti(4, 4, 12, 12));
    Image innermost(inner, {2, 2, 100, 100});  // relative to inner, clipped to it
    EXPECT_EQ(innermost.Rect(), platform::Recti(6, 6, 12, 12));
    EXPECT_EQ(innermost.Width(), 6);
}

TEST(Image, BumpImageCarriesItsMaps) {
    const std::string dir = testsupport::TempDir();
    Pixmap normal(2, 2);
    normal.Clear({0.5f, 0.25f, 1, 1});
    ASSERT_TRUE(normal.Save(dir + "normal.png"));
    ASSERT_TRUE(Pixmap(2, 2).Save(dir + "diffuse.png"));
    auto bump = Image::LoadBump(dir + "diffuse.png", dir + "normal.png", "", 0.5f, true);
    ASSERT_TRUE(bump);
    ASSERT_TRUE(bump->NormalTexture());
    EXPECT_FALSE(bump->SpecularTexture());
    EXPECT_FLOAT_EQ(bump->Specularity(), 0.5f);
    EXPECT_EQ(bump->GetShader(), platform::Shader::GetShader("bump"));
    // The green channel of the normal map is flipped when asked.
    EXPECT_EQ(bump->NormalTexture()->GetPixmap()->GetPixelARGB(0, 0), 0xff80bfffu);
    EXPECT_FALSE(Image::LoadBump(dir + "diffuse.png", dir + "missing.png", "", 1, false));
}

TEST(Shader, NamedShadersAreProcessLifetimeIdentities) {
    for (const char* name : {"sprite", "font", "light", "bump"}) {
        platform::Shader* shader = platform::Shader::GetShader(name);
        ASSERT_NE(shader, nullptr) << name;
        EXPECT_EQ(shader->Name(), name);
        EXPECT_EQ(platform::Shader::GetShader(name, "SOME_DEFINE"), shader);
    }
    EXPECT_EQ(platform::Shader::GetShader("glow"), nullptr);
    EXPECT_EQ(platform::Shader::GetShader(""), nullptr);
}

TEST(Image, AssetPathsAreResolvedForImagesPixmapsAndFonts) {
    const std::string dir = testsupport::TempDir();
    ASSERT_TRUE(Pixmap(3, 2).Save(dir + "picture.png"));
    platform::SetAssetsDir(dir);
    auto image = Image::Load("asset::picture.png");
    auto pixmap = Pixmap::Load("asset::picture.png");
    ASSERT_TRUE(Pixmap(1, 1).Save("asset::saved.png"));
    platform::SetAssetsDir("");
    ASSERT_TRUE(image);
    EXPECT_EQ(image->Width(), 3);
    ASSERT_TRUE(pixmap);
    EXPECT_TRUE(Pixmap::Load(dir + "saved.png"));
    // An absolute path after the prefix is taken as it stands.
    EXPECT_TRUE(platform::Font::Load("asset::/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf", 12));
}

}  // namespace
