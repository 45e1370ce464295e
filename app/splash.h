#pragma once
// The splash picture, composed from a colour picture and an opacity mask.
#include "picture/picture.h"

struct SplashPictures {
    CPicture splash;    // mask's size, colour from the colour picture, opacity plane
    CPicture darkened;  // the splash at half brightness, with the same opacity
    CPicture overWhite; // the splash drawn through its opacity over white
};

// The mask gives the size; its first colour byte per pixel is the opacity. Where the colour
// picture is smaller than the mask the rest stays black. False when either picture is empty
// or memory runs out.
bool ComposeSplash(const CPicture& colour, const CPicture& mask, SplashPictures& out);
