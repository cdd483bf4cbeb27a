// The browser has no native dialogs, and Allegro's dialog addon no backend
// for it: the page shows what stopped the game itself, from its standard
// error. This stands in for the one dialog the game opens.
#include <allegro5/allegro_native_dialog.h>

int al_show_native_message_box(ALLEGRO_DISPLAY *, char const *, char const *, char const *,
                               char const *, int) {
    return 0;
}
