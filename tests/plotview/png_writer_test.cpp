// PNG files of the previews: every pixel comes back as written, and a file
// that cannot be written is reported.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "picture/plot_image.h"
#include "support/test_files.h"

namespace {

TEST(PngWriter, EveryPixelComesBackAsWritten) {
    ScratchDir dir;
    // Odd sizes, one pixel, and colours in every channel, so that a row
    // packed a byte too short or a channel swapped shows.
    for (const auto& [w, h] : {std::pair{1, 1}, std::pair{47, 33}, std::pair{256, 3}}) {
        plot::Image image(w, h);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                image.At(x, y) = plot::Rgb(x * 5 + y, 255 - x, y * 7 + x * 3);
        const std::string path = dir.path() + "/p" + std::to_string(w) + ".png";
        std::string error;
        ASSERT_TRUE(plot::SavePng(image, path, &error)) << error;
        plot::Image loaded;
        ASSERT_TRUE(plot::LoadPng(path, &loaded, &error)) << error;
        EXPECT_EQ(loaded.width, w);
        EXPECT_EQ(loaded.height, h);
        EXPECT_EQ(loaded.pixels, image.pixels) << w << " x " << h;
    }
}

TEST(PngWriter, FailuresAreReported) {
    ScratchDir dir;
    std::string error;
    EXPECT_FALSE(plot::SavePng(plot::Image(), dir.path() + "/empty.png", &error));
    EXPECT_EQ(error, "empty image");
    EXPECT_FALSE(std::filesystem::exists(dir.path() + "/empty.png"));
    error.clear();
    const std::string nowhere = dir.path() + "/no/such/folder/p.png";
    EXPECT_FALSE(plot::SavePng(plot::Image(2, 2), nowhere, &error));
    EXPECT_EQ(error, "cannot write " + nowhere + ": No such file or directory");
}

}  // namespace
