// Pages of a PostScript stream as Ghostscript renders them, in grey, and a coarse comparison of
// page areas that tolerates the small differences of scaling and anti-aliasing.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "tests/host/psdriver/print_fixture.h"

namespace testing_support {

struct GrayImage {
    int Width = 0;
    int Height = 0;
    std::vector<uint8_t> Pixels;  // rows from the top, 0 black, 255 white
};

// A binary PGM file; an empty image when it is not one.
inline GrayImage ReadPgm(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    // Header fields, with comment lines between them.
    const auto field = [&file] {
        std::string token;
        while (file >> token && token[0] == '#') {
            std::getline(file, token);
        }
        return token;
    };
    const std::string magic = field();
    const int width = std::atoi(field().c_str());
    const int height = std::atoi(field().c_str());
    const int maximum = std::atoi(field().c_str());
    file.get();
    GrayImage image;
    if (magic != "P5" || width <= 0 || height <= 0 || maximum != 255) {
        return image;
    }
    image.Pixels.resize(static_cast<size_t>(width) * static_cast<size_t>(height));
    file.read(reinterpret_cast<char*>(image.Pixels.data()),
              static_cast<std::streamsize>(image.Pixels.size()));
    if (!file) {
        return {};
    }
    image.Width = width;
    image.Height = height;
    return image;
}

// Every page Ghostscript renders from the stream at `dpi`; on A4 paper held fixed when
// `fixedA4`, otherwise on the paper the stream asks for. Empty when Ghostscript reports an error.
inline std::vector<GrayImage> RenderPages(const std::string& stream, int dpi, bool fixedA4) {
    const std::filesystem::path folder = MakeTemporaryFolder();
    const std::filesystem::path input = folder / "job.ps";
    std::ofstream(input, std::ios::binary) << stream;
    std::string command =
        "gs -q -dSAFER -dNOPAUSE -dBATCH -sDEVICE=pgmraw -r" + std::to_string(dpi);
    if (fixedA4) {
        command += " -dDEVICEWIDTHPOINTS=595 -dDEVICEHEIGHTPOINTS=842 -dFIXEDMEDIA";
    }
    command +=
        " -o " + (folder / "page-%04d.pgm").string() + " " + input.string() + " >/dev/null 2>&1";
    std::vector<GrayImage> pages;
    if (std::system(command.c_str()) == 0) {
        for (int page = 1;; ++page) {
            char name[32];
            std::snprintf(name, sizeof name, "page-%04d.pgm", page);
            if (!std::filesystem::exists(folder / name)) {
                break;
            }
            pages.push_back(ReadPgm((folder / name).string()));
        }
    }
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
    return pages;
}

// An area of an image in points from the top left, at the image's resolution.
struct Area {
    double Left = 0;
    double Top = 0;
    double Width = 0;
    double Height = 0;
};

constexpr int GridColumns = 24;
constexpr int GridRows = 32;

// The mean grey of each cell of a grid laid over the area.
inline std::vector<double> GridMeans(const GrayImage& image, const Area& area, int dpi) {
    const double scale = dpi / 72.0;
    std::vector<double> means;
    for (int row = 0; row < GridRows; ++row) {
        for (int column = 0; column < GridColumns; ++column) {
            const auto pixel = [&](double points, int limit) {
                return std::clamp(static_cast<int>(std::lround(points * scale)), 0, limit);
            };
            const int x0 = pixel(area.Left + area.Width * column / GridColumns, image.Width);
            const int x1 = pixel(area.Left + area.Width * (column + 1) / GridColumns, image.Width);
            const int y0 = pixel(area.Top + area.Height * row / GridRows, image.Height);
            const int y1 = pixel(area.Top + area.Height * (row + 1) / GridRows, image.Height);
            double sum = 0;
            for (int y = y0; y < y1; ++y) {
                for (int x = x0; x < x1; ++x) {
                    sum += image.Pixels[static_cast<size_t>(y) * static_cast<size_t>(image.Width) +
                                        static_cast<size_t>(x)];
                }
            }
            const int count = (x1 - x0) * (y1 - y0);
            means.push_back(count > 0 ? sum / count : 255.0);
        }
    }
    return means;
}

// The grid turned by 180 degrees.
inline std::vector<double> Turned(std::vector<double> means) {
    std::reverse(means.begin(), means.end());
    return means;
}

// The mean difference of two grids, in grey levels.
inline double GridDifference(const std::vector<double>& a, const std::vector<double>& b) {
    double sum = 0;
    for (size_t i = 0; i < a.size() && i < b.size(); ++i) {
        sum += std::abs(a[i] - b[i]);
    }
    return a.empty() ? 0 : sum / static_cast<double>(a.size());
}

}  // namespace testing_support
