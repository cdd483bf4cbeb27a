// The floor the library sets: the game's start-up (system, keyboard,
// add-ons, window, queue, timer, audio, fonts) and the same 60 Hz loop,
// clearing and flipping an empty frame, with no assets and no game.
//   baseline [picture] [every=N]
// With "picture" each frame also lays one 800x600 picture, as every frame
// of the game lays at least its background; with "every=N" a frame is
// drawn on every Nth tick only (10: as often as the title's pictures
// change).
#include <allegro5/allegro.h>
#include <allegro5/allegro_acodec.h>
#include <allegro5/allegro_audio.h>
#include <allegro5/allegro_font.h>
#include <allegro5/allegro_image.h>
#include <allegro5/allegro_primitives.h>
#include <allegro5/allegro_ttf.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

int main(int argc, char **argv) {
    bool picture = false;
    int every = 1;
    for (int i = 1; i < argc; ++i) {
        picture = picture || std::strcmp(argv[i], "picture") == 0;
        if (std::strncmp(argv[i], "every=", 6) == 0) {
            every = std::max(1, std::atoi(argv[i] + 6));
        }
    }
    if (!al_install_system(ALLEGRO_VERSION_INT, atexit)) {
        return 1;
    }
    al_install_keyboard();
    al_init_primitives_addon();
    al_init_image_addon();
    al_set_new_display_flags(ALLEGRO_WINDOWED);
    al_set_blender(ALLEGRO_ADD, ALLEGRO_ALPHA, ALLEGRO_INVERSE_ALPHA);
    ALLEGRO_DISPLAY *display = al_create_display(800, 600);
    if (!display) {
        std::fprintf(stderr, "baseline: cannot open a window\n");
        return 1;
    }
    ALLEGRO_EVENT_QUEUE *queue = al_create_event_queue();
    ALLEGRO_TIMER *timer = al_create_timer(1.0 / 60.0);
    al_register_event_source(queue, al_get_display_event_source(display));
    al_register_event_source(queue, al_get_timer_event_source(timer));
    al_register_event_source(queue, al_get_keyboard_event_source());
    al_start_timer(timer);
    if (al_install_audio()) {
        al_init_acodec_addon();
        al_reserve_samples(1);
    }
    al_init_font_addon();
    al_init_ttf_addon();

    ALLEGRO_BITMAP *laid = nullptr;
    if (picture) {
        laid = al_create_bitmap(800, 600);
        al_set_target_bitmap(laid);
        al_clear_to_color(al_map_rgb(30, 60, 90));
        al_set_target_backbuffer(display);
    }

    bool running = true;
    bool redraw = true;
    int64_t ticks = 0;
    while (running) {
        ALLEGRO_EVENT ev;
        al_wait_for_event(queue, &ev);
        if (ev.type == ALLEGRO_EVENT_DISPLAY_CLOSE) {
            running = false;
        }
        if (ev.type == ALLEGRO_EVENT_TIMER && ++ticks % every == 0) {
            redraw = true;
        }
        if (redraw && al_is_event_queue_empty(queue)) {
            redraw = false;
            al_clear_to_color(al_map_rgb(0, 0, 0));
            if (laid) {
                al_draw_bitmap(laid, 0.0f, 0.0f, 0);
            }
            al_flip_display();
        }
    }
    return 0;
}
