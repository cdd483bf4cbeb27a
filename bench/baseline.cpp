// The floor the library sets: the game's start-up (system, keyboard,
// add-ons, window, queue, timer, audio, fonts) and the same 60 Hz loop,
// clearing and flipping an empty frame, with no assets and no game.
#include <allegro5/allegro.h>
#include <allegro5/allegro_acodec.h>
#include <allegro5/allegro_audio.h>
#include <allegro5/allegro_font.h>
#include <allegro5/allegro_image.h>
#include <allegro5/allegro_primitives.h>
#include <allegro5/allegro_ttf.h>

#include <cstdio>
#include <cstdlib>

int main() {
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

    bool running = true;
    bool redraw = true;
    while (running) {
        ALLEGRO_EVENT ev;
        al_wait_for_event(queue, &ev);
        if (ev.type == ALLEGRO_EVENT_DISPLAY_CLOSE) {
            running = false;
        }
        redraw = true;
        if (redraw && al_is_event_queue_empty(queue)) {
            redraw = false;
            al_clear_to_color(al_map_rgb(0, 0, 0));
            al_flip_display();
        }
    }
    return 0;
}
