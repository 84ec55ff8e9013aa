/* Prints every character of the Basic Multilingual Plane that
 * CharLowerBuffW or CharUpperBuffW changes, one a line, as hex: the
 * character, its small letter, its capital. Each is converted alone, so
 * that no neighbour (a surrogate pair) takes part. Run under Wine (or on
 * Windows) by scripts/make-letter-case-table. */
#include <windows.h>
#include <stdio.h>

int main(void)
{
    unsigned c;
    for (c = 0; c < 0x10000; ++c) {
        WCHAR small = (WCHAR)c, capital = (WCHAR)c;
        CharLowerBuffW(&small, 1);
        CharUpperBuffW(&capital, 1);
        if (small != c || capital != c) printf("%04X %04X %04X\n", c, small, capital);
    }
    return 0;
}
