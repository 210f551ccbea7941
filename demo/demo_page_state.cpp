// demo_page_state.cpp: what the demo's web page can ask the demo between frames: the volume level
// the overlay shows and whether the pause menu is open.
#include <emscripten.h>

#include "tinymenu_vol.h"

extern "C" {

EMSCRIPTEN_KEEPALIVE int cb_demo_volume() { return VKR_TMV_Vol_GetLevel(); }

EMSCRIPTEN_KEEPALIVE int cb_demo_menu_open() { return VKR_TMV_TinyMenu_GetState() == 1; }

}
