#pragma once

#include "toolkit/windowing/Backend.h"

#include <SDL2/SDL_keyboard.h>

// The classic virtual-key code of an SDL key: letters and digits follow the keyboard layout (as
// the classic codes do), punctuation keys are named by their place on the keyboard. 0 for a key
// the toolkit has no code for.
int VirtualKeyFromSdl(SDL_Keycode key, SDL_Scancode scancode);

// The toolkit's button for an SDL button number, or nullopt for extra buttons.
std::optional<TMouseButton> MouseButtonFromSdl(Uint8 button);
