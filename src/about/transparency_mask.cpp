#include "about/transparency_mask.h"

HBITMAP makeTransparencyMask(HBITMAP bitmap, COLORREF key)
{
    BITMAP size;
    if (!bitmap || !GetObjectA(bitmap, sizeof size, &size)) return NULL;
    HBITMAP mask = CreateBitmap(size.bmWidth, size.bmHeight, 1, 1, NULL);
    HDC picture = CreateCompatibleDC(NULL);
    HDC monochrome = CreateCompatibleDC(NULL);
    if (!mask || !picture || !monochrome) {
        if (mask) DeleteObject(mask);
        if (picture) DeleteDC(picture);
        if (monochrome) DeleteDC(monochrome);
        return NULL;
    }
    HGDIOBJ oldPicture = SelectObject(picture, bitmap);
    HGDIOBJ oldMonochrome = SelectObject(monochrome, mask);
    // Copying colour to monochrome turns the background colour white and
    // every other colour black.
    SetBkColor(picture, key);
    BitBlt(monochrome, 0, 0, size.bmWidth, size.bmHeight, picture, 0, 0, SRCCOPY);
    // Back the other way white becomes the key colour and black the text
    // colour, black: xor-ing clears exactly the key-colour pixels.
    SetTextColor(picture, RGB(0, 0, 0));
    BitBlt(picture, 0, 0, size.bmWidth, size.bmHeight, monochrome, 0, 0, SRCINVERT);
    SelectObject(picture, oldPicture);
    SelectObject(monochrome, oldMonochrome);
    DeleteDC(picture);
    DeleteDC(monochrome);
    return mask;
}
