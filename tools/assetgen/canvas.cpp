// Oversampled canvases, premultiplied drawing and the finishing filter.
#include "art.h"

#include <allegro5/allegro_ttf.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

std::string fontFolder;

struct CachedFont {
    std::string face;
    int pixels = 0; // loaded size, oversampled pixels
    ALLEGRO_FONT *font = nullptr;
};
std::vector<CachedFont> fonts;

ALLEGRO_FONT *fontAt(const char *face, int pixels) {
    for (const CachedFont &cached : fonts) {
        if (cached.face == face && cached.pixels == pixels) {
            return cached.font;
        }
    }
    const std::string path = fontFolder + "/" + face;
    ALLEGRO_FONT *font = al_load_ttf_font(path.c_str(), pixels, 0);
    if (!font) {
        std::fprintf(stderr, "assetgen: cannot load font %s\n", path.c_str());
        std::exit(1);
    }
    fonts.push_back({face, pixels, font});
    return font;
}

uint8_t toByte(float v) {
    return static_cast<uint8_t>(std::lround(std::clamp(v, 0.0f, 1.0f) * 255));
}

// One finished pixel from its premultiplied average, by the key rule.
void finishPixel(const float avg[4], Key key, uint8_t *out) {
    float a = avg[3];
    float r = avg[0], g = avg[1], b = avg[2];
    if (key == Key::Black) {
        // Colour over black is the premultiplied colour itself. Faint
        // coverage goes to the key so no dust ring is left around a shape.
        if (a < 0.25f) {
            r = g = b = 0;
        }
        out[0] = toByte(r), out[1] = toByte(g), out[2] = toByte(b), out[3] = 255;
        if (a >= 0.25f && out[0] == 0 && out[1] == 0 && out[2] == 0) {
            out[0] = out[1] = out[2] = 1; // a dark stroke, not a hole
        }
        return;
    }
    if (key == Key::Blue) {
        if (a < 0.5f) {
            out[0] = 0, out[1] = 0, out[2] = 255, out[3] = 255;
            return;
        }
        out[0] = toByte(r / a), out[1] = toByte(g / a), out[2] = toByte(b / a), out[3] = 255;
        if (out[0] == 0 && out[1] == 0 && out[2] == 255) {
            out[2] = 254;
        }
        return;
    }
    if (a <= 0) {
        out[0] = out[1] = out[2] = out[3] = 0;
        return;
    }
    out[0] = toByte(r / a), out[1] = toByte(g / a), out[2] = toByte(b / a), out[3] = toByte(a);
}

} // namespace

void setFontFolder(const std::string &folder) { fontFolder = folder; }

ALLEGRO_COLOR rgba(int r, int g, int b, float a) {
    return al_map_rgba_f(r / 255.0f * a, g / 255.0f * a, b / 255.0f * a, a);
}

ALLEGRO_COLOR mix(ALLEGRO_COLOR a, ALLEGRO_COLOR b, float t) {
    return al_map_rgba_f(a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t,
                         a.a + (b.a - a.a) * t);
}

float nextUnit(Rng &rng) {
    rng.state = rng.state * 1664525u + 1013904223u;
    return (rng.state >> 8) / 16777216.0f;
}

void beginCanvas(Canvas &canvas, int width, int height, ALLEGRO_COLOR clear) {
    canvas.width = width;
    canvas.height = height;
    canvas.scale = oversample;
    canvas.big = al_create_bitmap(width * oversample, height * oversample);
    al_set_target_bitmap(canvas.big);
    al_set_blender(ALLEGRO_ADD, ALLEGRO_ONE, ALLEGRO_INVERSE_ALPHA);
    ALLEGRO_TRANSFORM t;
    al_identity_transform(&t);
    al_scale_transform(&t, oversample, oversample);
    al_use_transform(&t);
    al_clear_to_color(clear);
}

ALLEGRO_BITMAP *finishCanvas(Canvas &canvas, Key key) {
    const int s = canvas.scale;
    ALLEGRO_BITMAP *out = al_create_bitmap(canvas.width, canvas.height);
    ALLEGRO_LOCKED_REGION *src =
        al_lock_bitmap(canvas.big, ALLEGRO_PIXEL_FORMAT_ABGR_8888_LE, ALLEGRO_LOCK_READONLY);
    ALLEGRO_LOCKED_REGION *dst =
        al_lock_bitmap(out, ALLEGRO_PIXEL_FORMAT_ABGR_8888_LE, ALLEGRO_LOCK_WRITEONLY);
    const float norm = 1.0f / (255.0f * s * s);
    for (int y = 0; y < canvas.height; ++y) {
        uint8_t *row = static_cast<uint8_t *>(dst->data) + y * dst->pitch;
        for (int x = 0; x < canvas.width; ++x) {
            float sum[4] = {0, 0, 0, 0};
            for (int dy = 0; dy < s; ++dy) {
                const uint8_t *p =
                    static_cast<const uint8_t *>(src->data) + (y * s + dy) * src->pitch + x * s * 4;
                for (int dx = 0; dx < s * 4; ++dx) {
                    sum[dx % 4] += p[dx];
                }
            }
            for (float &v : sum) {
                v *= norm;
            }
            finishPixel(sum, key, row + x * 4);
        }
    }
    al_unlock_bitmap(out);
    al_unlock_bitmap(canvas.big);
    al_destroy_bitmap(canvas.big);
    canvas.big = nullptr;
    return out;
}

// Glyphs are rasterised at the oversampled size, not magnified, so text is
// as crisp as the shapes around it.
void drawText(const char *face, float size, ALLEGRO_COLOR colour, float x, float y, int align,
              const char *text) {
    const int pixels = static_cast<int>(std::lround(size * oversample));
    ALLEGRO_TRANSFORM saved = *al_get_current_transform();
    ALLEGRO_TRANSFORM t;
    al_identity_transform(&t);
    al_scale_transform(&t, 1.0f / oversample, 1.0f / oversample);
    al_compose_transform(&t, &saved);
    al_use_transform(&t);
    al_draw_text(fontAt(face, pixels), colour, x * oversample, y * oversample, align, text);
    al_use_transform(&saved);
}

float textWidth(const char *face, float size, const char *text) {
    const int pixels = static_cast<int>(std::lround(size * oversample));
    return al_get_text_width(fontAt(face, pixels), text) / static_cast<float>(oversample);
}
