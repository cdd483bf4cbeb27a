// The Windows icon: every size of the desktop icon in one .ico file, each
// stored as the PNG file already written for it (Windows reads PNG entries
// at any size since Vista).
#include "art.h"

#include <cstdio>
#include <fstream>
#include <iterator>

namespace {

void put16(std::vector<uint8_t> &out, unsigned value) {
    out.push_back(static_cast<uint8_t>(value));
    out.push_back(static_cast<uint8_t>(value >> 8));
}

void put32(std::vector<uint8_t> &out, size_t value) {
    put16(out, static_cast<unsigned>(value & 0xffff));
    put16(out, static_cast<unsigned>(value >> 16));
}

} // namespace

bool writeIco(const std::vector<IconFile> &icons, const std::string &path) {
    constexpr size_t headerBytes = 6, entryBytes = 16;
    std::vector<std::vector<uint8_t>> images;
    for (const IconFile &icon : icons) {
        std::ifstream in(icon.pngPath, std::ios::binary);
        images.emplace_back(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
        if (!in || images.back().empty()) {
            return false;
        }
    }
    std::vector<uint8_t> out;
    put16(out, 0); // reserved
    put16(out, 1); // an icon, not a cursor
    put16(out, static_cast<unsigned>(icons.size()));
    size_t offset = headerBytes + entryBytes * icons.size();
    for (size_t i = 0; i < icons.size(); ++i) {
        out.push_back(static_cast<uint8_t>(icons[i].size % 256)); // 0 stands for 256
        out.push_back(static_cast<uint8_t>(icons[i].size % 256));
        out.push_back(0); // no palette
        out.push_back(0);
        put16(out, 1);  // colour planes
        put16(out, 32); // bits per pixel
        put32(out, images[i].size());
        put32(out, offset);
        offset += images[i].size();
    }
    for (const std::vector<uint8_t> &image : images) {
        out.insert(out.end(), image.begin(), image.end());
    }
    FILE *file = std::fopen(path.c_str(), "wb");
    if (!file) {
        return false;
    }
    const bool written = std::fwrite(out.data(), 1, out.size(), file) == out.size();
    return std::fclose(file) == 0 && written;
}
