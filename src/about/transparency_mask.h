// Pictures drawn with a transparent colour: a monochrome mask is and-ed
// onto the background first, then the picture is or-ed over it.
#pragma once

#include <windows.h>

// A new monochrome bitmap of the bitmap's size, white where the bitmap has
// the key colour and black elsewhere; the key-colour pixels of the bitmap
// itself turn black. NULL when the mask cannot be made.
HBITMAP makeTransparencyMask(HBITMAP bitmap, COLORREF key);
