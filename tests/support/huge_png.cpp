// Writes a one-colour PNG of any size, streamed a row at a time, for the
// tests that hand the game a picture far too big for it.
//   huge_png FILE WIDTH HEIGHT
#include <zlib.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

void put32(std::vector<unsigned char> &out, uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8) {
        out.push_back(static_cast<unsigned char>(v >> shift));
    }
}

void writeChunk(FILE *file, const char *type, const std::vector<unsigned char> &data) {
    std::vector<unsigned char> chunk;
    put32(chunk, static_cast<uint32_t>(data.size()));
    chunk.insert(chunk.end(), type, type + 4);
    chunk.insert(chunk.end(), data.begin(), data.end());
    put32(chunk,
          static_cast<uint32_t>(crc32(0, chunk.data() + 4, static_cast<uInt>(chunk.size() - 4))));
    std::fwrite(chunk.data(), 1, chunk.size(), file);
}

} // namespace

int main(int argc, char **argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: huge_png FILE WIDTH HEIGHT\n");
        return 2;
    }
    const uint32_t width = std::atoi(argv[2]), height = std::atoi(argv[3]);
    FILE *file = std::fopen(argv[1], "wb");
    if (!file) {
        return 1;
    }
    std::fwrite("\x89PNG\r\n\x1a\n", 1, 8, file);
    std::vector<unsigned char> header;
    put32(header, width);
    put32(header, height);
    header.insert(header.end(), {8, 0, 0, 0, 0}); // 8-bit grey, no interlace
    writeChunk(file, "IHDR", header);

    z_stream z = {};
    deflateInit(&z, 9);
    std::vector<unsigned char> row(width + 1, 0); // filter byte, then the pixels
    std::vector<unsigned char> packed;
    unsigned char buffer[65536];
    for (uint32_t y = 0; y <= height; ++y) {
        const bool last = y == height;
        z.next_in = last ? nullptr : row.data();
        z.avail_in = last ? 0 : static_cast<uInt>(row.size());
        do {
            z.next_out = buffer;
            z.avail_out = sizeof buffer;
            deflate(&z, last ? Z_FINISH : Z_NO_FLUSH);
            packed.insert(packed.end(), buffer, buffer + (sizeof buffer - z.avail_out));
        } while (z.avail_out == 0);
    }
    deflateEnd(&z);
    writeChunk(file, "IDAT", packed);
    writeChunk(file, "IEND", {});
    return std::fclose(file) == 0 ? 0 : 1;
}
